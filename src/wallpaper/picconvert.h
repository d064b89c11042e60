#pragma once

#include <QString>

// Turns a picture file into a BMP file beside it; the wallpaper works on BMP pictures only.
struct PicResult {
    QString bmpPath; // empty when the extension is not handled (PicToBmp only) or on failure
    QString error;   // empty on success
    bool ok() const { return error.isEmpty(); }
};

// ".bmp" comes back unchanged, ".jpg"/".jpeg" and ".gif" (any case) are converted, anything
// else gives an empty path without an error.
PicResult PicToBmp(const QString &path);
// Decodes at full size and writes the same path with the extension ".bmp" (24 bits per pixel),
// replacing an existing file.
PicResult JpgToBmp(const QString &path);
// The first frame on a picture of the GIF's full size, written like JpgToBmp.
PicResult GifToBmp(const QString &path);
