// PanelDrawing: the small drawing and text-cutting helpers shared by the front-end panels.
#pragma once

#include "media/Surface.h"

#include <cstddef>
#include <cstdint>
#include <string>

struct TPictureItem;

// Fills [Left, Right) x [Top, Bottom) of a panel with black, the panels' transparent colour.
void FillBlack(Surface& target, const TRect& area);
// Darkens a still to a quarter of its brightness, so that the panels' text reads over any picture.
uint32_t DimmedForText(uint32_t pixel);
void DimForText(Surface& still);
// Writes text so that it is centred on column x: x minus half its width.
void WriteCentred(Surface& target, const TPictureItem& font, int x, int y, const std::string& text);

// Text cuts never fail on short texts: what is not there is simply not taken.
std::string DropFirst(const std::string& text, size_t count);
std::string DropLast(const std::string& text, size_t count);
std::string KeepFirst(const std::string& text, size_t count);
// The last component of a game path such as `graphics\red_flag.bmp`.
std::string PathFileName(const std::string& path);

// An option value as the centre panel shows it: "NO" for 0, two digits otherwise.
std::string OptionValueText(uint8_t value);
