// The file types a sheet can be written as, in one table: the converter's --type and
// extension rule, its help, the window's Open and Save dialogs and the encoders all read it.
// A new type is one entry here (and, when no host encoder writes it, its writer).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/encode/pixel_rows.h"
#include "imaging/gdiplus_api.h"
#include "imaging/ui_language.h"

namespace korvanth {

// Writes a whole file from 32-bit rows on up to `workers` threads; false when the format
// cannot hold the picture.
using OwnWriter = bool (*)(const imaging::encode::PixelRows&, int workers,
                           std::vector<std::uint8_t>&);

struct FileType {
  // Lower case, without the dot; the first is the canonical one ("jpg" before "jpeg"),
  // the second empty when there is none.
  std::array<std::string_view, 2> extensions;
  const WCHAR* mimeType;  // how both hosts find the encoder: GDI+'s MIME type
  OwnWriter ownWriter;    // the project's own writer; null where the host's encoder writes it
  bool lossy;             // written at kLossyQuality
  bool fallback;          // what an extension that selects no type writes (one type only)
  // The most its encoder holds beside the picture's pixels, in bytes a pixel: the file it
  // builds in memory and its working buffers (a large atlas must fit with them).
  int encodeBytesPerPixel;
  // The window's Open dialog: the type's entry and its place in the list (0 first); every
  // type's patterns also go into the first entry, which lists all of them.
  UiText openCaption;        // "JPEG (*.jpg; jpeg)", in both languages
  const char* openPatterns;  // "*.jpg;*.jpeg;*.jpe"
  int openPlace;
  // The Save dialog's entry "NAME (*.EXT)" for the canonical extension; nulls when the Save
  // dialog does not offer the type.
  UiText saveName;
};

// The quality (0-100) every lossy type is written at, on both hosts.
inline constexpr int kLossyQuality = 90;

// In the order lists show them; the first is the batch default.
std::span<const FileType> FileTypes();

// The type an extension (without the dot, any ASCII case) selects; null for none.
const FileType* FileTypeForExtension(std::string_view extension);

// The type whose encoder has this MIME type; null for none.
const FileType* FileTypeForMimeType(const WCHAR* mimeType);

// What an extension that selects no type writes (BMP).
const FileType& FallbackFileType();

// Every canonical extension in table order, each after `prefix`, joined by `separator`:
// ("", "|") gives "png|bmp|gif|jpg|tif", (".", ", ") ".png, .bmp, .gif, .jpg, .tif".
std::string CanonicalExtensions(std::string_view prefix, std::string_view separator);

// Every extension a type takes, alphabetically by type, its spellings joined by '/':
// "bmp, gif, jpg/jpeg, png, tif/tiff".
std::string ExtensionSpellings();

// The window's dialog filters: each entry's caption and patterns, each zero-terminated, the
// list ending in an extra zero (the size of a string literal of them). The Open dialog's first
// entry holds every type, its last every file; the Save dialog lists the types that have a
// saveName, then every file.
// The Japanese lists are the described program's, byte for byte.
std::string OpenDialogFilter(UiLanguage language);
std::string SaveDialogFilter(UiLanguage language);

// The canonical extension of each Save dialog entry in order, "" for the every-file entry.
std::vector<std::string_view> SaveDialogExtensions();

}  // namespace korvanth
