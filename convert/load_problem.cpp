// Why a picture did not load: header verdicts and decoder statuses, and the cause in words.
#include "convert/load_problem.h"

#include <cerrno>
#include <cstddef>
#include <iterator>

namespace korvanth {

using imaging::HeaderVerdict;
using imaging::PictureHeader;
using imaging::PictureType;

LoadProblem ProblemOfFailedDecode(GpStatus status, PictureType type) {
  switch (status) {
    case Ok:
      return LoadProblem::None;
    case FileNotFound:
      return LoadProblem::NotFound;
    case AccessDenied:
      return LoadProblem::NoAccess;
    case ValueOverflow:
      return LoadProblem::TooLarge;
    case NotImplemented:
      return LoadProblem::DecoderMissing;
    default:
      break;
  }
  // The header was read and judged to fit, so a decoder that gives up on the file finds
  // it damaged, whatever status it uses for that (GDI+ says "out of memory" for many).
  if (type != PictureType::Unknown) return LoadProblem::Damaged;
  return status == UnknownImageFormat ? LoadProblem::UnknownFormat : LoadProblem::Unreadable;
}

LoadProblem ProblemOfHeader(const PictureHeader& header) {
  if (!header.opened) {
    if (header.openError == ENOENT || header.openError == ENOTDIR) return LoadProblem::NotFound;
    if (header.openError == EACCES) return LoadProblem::NoAccess;
    if (header.openProblem == imaging::InputProblem::IsFolder ||
        header.openProblem == imaging::InputProblem::NotRegular)
      return LoadProblem::NotAFile;
    return LoadProblem::Unreadable;
  }
  switch (header.verdict) {
    case HeaderVerdict::Unknown:
      return LoadProblem::UnknownFormat;
    case HeaderVerdict::Damaged:
      return LoadProblem::Damaged;
    case HeaderVerdict::TooLarge:
      return LoadProblem::TooLarge;
    case HeaderVerdict::Unsupported:
      if (header.type == PictureType::Bmp) return LoadProblem::UnsupportedBmp;
      if (header.type == PictureType::Jpeg) return LoadProblem::UnsupportedJpeg;
      if (header.type == PictureType::Tiff) return LoadProblem::UnsupportedTiff;
      return LoadProblem::UnknownFormat;
    case HeaderVerdict::Fits:
      break;
  }
  return LoadProblem::None;
}

GpStatus StatusOfProblem(LoadProblem problem) {
  switch (problem) {
    case LoadProblem::None:
      return Ok;
    case LoadProblem::BadPath:
      return InvalidParameter;
    case LoadProblem::NoMemory:
      return OutOfMemory;
    case LoadProblem::NotFound:
      return FileNotFound;
    case LoadProblem::NoAccess:
      return AccessDenied;
    case LoadProblem::NotAFile:
      return Win32Error;
    case LoadProblem::Unreadable:
      return Win32Error;
    case LoadProblem::UnknownFormat:
      return UnknownImageFormat;
    case LoadProblem::Damaged:
      return GenericError;
    case LoadProblem::TooLarge:
      return ValueOverflow;
    case LoadProblem::UnsupportedBmp:
    case LoadProblem::UnsupportedJpeg:
    case LoadProblem::UnsupportedTiff:
      return UnknownImageFormat;
    case LoadProblem::DecoderMissing:
      return NotImplemented;
  }
  return GenericError;
}

namespace {

// In the order of LoadProblem.
constexpr UiText kLoadProblemCauses[] = {
    {"読み込みました", "loaded"},
    {"名前が長すぎるか正しい文字列ではないため、開けません",
     "the name is too long to open or is not valid text"},
    {"メモリが足りません", "out of memory"},
    {"ファイルがありません", "no such file"},
    {"アクセスが拒否されました", "permission denied"},
    {"通常のファイルではありません（フォルダー、FIFO、デバイス、ソケットは読み込みません）",
     "not a regular file (a folder, a FIFO, a device or a socket is never read)"},
    {"ファイルを読み込めません", "the file cannot be read"},
    {"Korvanthが読める形式（BMP、GIF、PNG、TIFF、JPEG）の画像ではありません",
     "not a picture in a format Korvanth reads (BMP, GIF, PNG, TIFF, JPEG)"},
    {"画像が壊れているか、途中で切れています", "the picture is damaged or cut short"},
    {"画像が大きすぎて読み込めません（許されたより多くのメモリが要ります）",
     "the picture is too large to load (it would need more memory than allowed)"},
    {"対応していない種類のBMPです（1、4、8、16、24、32ビット/ピクセルの、無圧縮、RLE、"
     "ビットフィールドのものを読み込めます）",
     "an unsupported kind of BMP (1, 4, 8, 16, 24 and 32 bits a pixel are read, stored "
     "plainly, as RLE or with bit fields)"},
    {"対応していない種類のJPEGです（12ビット、ロスレス、階層型のJPEGは読み込めません）",
     "an unsupported kind of JPEG (12-bit, lossless and hierarchical JPEG are not read)"},
    {"対応していない種類のTIFFです（浮動小数点や複素数のサンプル、1、2、4、8、16ビット以外の"
     "サンプルは読み込めません）",
     "an unsupported kind of TIFF (floating-point or complex samples, and samples of "
     "other than 1, 2, 4, 8 or 16 bits, are not read)"},
    {"この形式を読むライブラリを読み込めませんでした（TIFFにはlibtiffのインストールが必要です）",
     "the library that reads this format could not be loaded (TIFF needs libtiff "
     "installed)"},
};
static_assert(std::size(kLoadProblemCauses) ==
              static_cast<std::size_t>(LoadProblem::DecoderMissing) + 1);

}  // namespace

UiText LoadProblemCause(LoadProblem problem) {
  const auto index = static_cast<std::size_t>(problem);
  if (index < std::size(kLoadProblemCauses)) return kLoadProblemCauses[index];
  return {"画像を読み込めませんでした", "the picture could not be loaded"};
}

const char* LoadProblemText(LoadProblem problem) { return LoadProblemCause(problem).english; }

}  // namespace korvanth
