#pragma once

#include <string>

#include "synth/SinglePreset.h"

// The single's name as the name field shows it: the bytes up to the first zero without the blanks after them,
// every character from 32 to 126 as it is (the field's font draws them all) and any other byte as the display
// shows it.
std::string nameFieldText(const zentlib::SinglePreset& single);

// The ten name bytes the field's text makes of the single's name: only what the person typed or deleted
// changes. A character of the text that stands for a byte of the name (the byte's own, or the '?' of one the
// field cannot show) keeps that byte; a character typed is its code when it is a name character (32..127) and
// '?' otherwise; the text keeps its first ten characters. A name of the same length keeps the bytes after it
// as they were; one that grew or shrank is filled up with blanks.
std::string editedName(const zentlib::SinglePreset& single, const std::string& fieldText);
