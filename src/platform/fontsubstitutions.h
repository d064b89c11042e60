#pragma once

// The windows name Windows fonts (宋体, 黑体, 微软雅黑, 幼圆, Arial, Arial Black, Verdana). Without
// substitutions fontconfig picks DejaVu, and Qt's glyph fallback may pick Japanese glyph forms;
// this maps each name onto the Simplified Chinese Noto CJK faces and common Latin faces.
// Call once after the QApplication exists.
void installFontSubstitutions();
