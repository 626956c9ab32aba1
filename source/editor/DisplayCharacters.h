#pragma once

#include <string>
#include <string_view>

#include "synth/SinglePreset.h"

// The bytes the front panel's display has glyphs for, in the order of the glyph views of the description's
// font container. 0xB4 (an accent) and 0xF6 (a filled block) are single bytes of a name, not UTF-8.
inline constexpr std::string_view kDisplayCharacters{
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"
    "!\"$%&/()=?.,;:{}\\-+<>|[]'\xB4 ~*#\xF6"};
static_assert(kDisplayCharacters.size() == 93);

// The single's name: its bytes up to the first zero.
std::string nameOf(const zentlib::SinglePreset& single);

// One name byte as the display shows it, in UTF-8: '?' for a byte it has no glyph for.
std::string displayGlyph(char byte);

// A name as the window's labels and fields show it, in UTF-8: every byte as the display shows it, '?' for one
// it has no glyph for. Name bytes are no text encoding: one of 0x80 or above, shown as it came, would reach the
// toolkit as broken UTF-8.
std::string nameText(const std::string& nameBytes);
