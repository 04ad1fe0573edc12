// Why a picture did not load: header verdicts and decoder statuses mapped to one English line.
#include "convert/load_problem.h"

#include <cerrno>

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

const char* LoadProblemText(LoadProblem problem) {
  switch (problem) {
    case LoadProblem::None:
      return "loaded";
    case LoadProblem::BadPath:
      return "the name is too long to open or is not valid text";
    case LoadProblem::NoMemory:
      return "out of memory";
    case LoadProblem::NotFound:
      return "no such file";
    case LoadProblem::NoAccess:
      return "permission denied";
    case LoadProblem::NotAFile:
      return "not a regular file (a folder, a FIFO, a device or a socket is never read)";
    case LoadProblem::Unreadable:
      return "the file cannot be read";
    case LoadProblem::UnknownFormat:
      return "not a picture in a format Korvanth reads (BMP, GIF, PNG, TIFF, JPEG)";
    case LoadProblem::Damaged:
      return "the picture is damaged or cut short";
    case LoadProblem::TooLarge:
      return "the picture is too large to load (it would need more memory than allowed)";
    case LoadProblem::UnsupportedBmp:
      return "an unsupported kind of BMP (1, 4, 8, 16, 24 and 32 bits a pixel are read, stored "
             "plainly, as RLE or with bit fields)";
    case LoadProblem::UnsupportedJpeg:
      return "an unsupported kind of JPEG (12-bit, lossless and hierarchical JPEG are not read)";
    case LoadProblem::UnsupportedTiff:
      return "an unsupported kind of TIFF (floating-point or complex samples, and samples of "
             "other than 1, 2, 4, 8 or 16 bits, are not read)";
    case LoadProblem::DecoderMissing:
      return "the library that reads this format could not be loaded (TIFF needs libtiff "
             "installed)";
  }
  return "the picture could not be loaded";
}

}  // namespace korvanth
