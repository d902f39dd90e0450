// The picture-file and clipboard functions of the Ops unit. They take the
// control's graphics object, so unlike the rest of Ops they need Qt.
#pragma once

#include <OrvexGDI/orvexgdi_export.h>

#include <QString>

class QPainter;

namespace orvex::Ops {

/// Writes the picture behind Graphics (Width x Height pixels) to FileName:
/// kind 1 GIF, 2 JPEG, anything else BMP. EFileError naming the file when it
/// cannot be written; an existing file is then left as it was.
ORVEXGDI_EXPORT void Save_Bitmap(int Kind, const QString& FileName, QPainter* Graphics, int Width, int Height);
/// Puts the picture behind Graphics (Width x Height pixels) on the clipboard.
ORVEXGDI_EXPORT void clipboard_bmp(QPainter* Graphics, int Width, int Height);

} // namespace orvex::Ops
