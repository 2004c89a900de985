// Helpers shared by the document formats: number text, limits of what a document may hold,
// names of art types, and the check that runs before anything is written.
#pragma once

#include "Document.h"
#include "io/FileError.h"

#include <optional>
#include <string>
#include <string_view>

namespace minihost::io {

// Coordinates beyond this are refused: they are certainly corrupt and would lose all precision.
inline constexpr double kMaxCoordinate = 1e15;

inline bool validCoordinate(double v)
{
    return v == v && v >= -kMaxCoordinate && v <= kMaxCoordinate; // false for NaN and infinities
}

// Shortest text that reads back as the same double. With keepNegativeZero, -0 is written "-0.0" so that
// readers which take "-0" for the integer 0 keep the sign.
std::string formatNumber(double v, bool keepNegativeZero = false);

// Parses a whole string as a decimal number (no locale, no leading blanks); nullopt when it is not one.
std::optional<double> parseNumber(std::string_view text);

// The document units the host knows.
bool knownUnits(std::string_view units);

// "path", "group", "compound", "textpath", "plugin", or "art" for other types.
const char* artTypeName(std::int16_t type);
// The type for a file's type name, kCCUnknownArt when it names none of the five above.
std::int16_t artTypeFromName(std::string_view name);

// How an object is named in messages: `path "p1"` or `path #3` (its number in document order).
std::string describeForMessage(const Document& doc, const Art& art);

// Refuses a document that no file may hold (non-finite or huge coordinates, too many anchors, unknown
// units, a bad page size), naming the file and the object. Runs before anything is written.
void checkWritable(const Document& doc, const std::string& file);

// "#rrggbb" (each component rounded to 8 bits), and whether that text keeps the colour exactly.
std::string hexColor(const Rgb& c);
bool hexColorIsExact(const Rgb& c);
// "#rgb" or "#rrggbb"; nullopt for anything else.
std::optional<Rgb> parseHexColor(std::string_view text);

// Line and column (both from 1) of a byte offset in a text.
struct TextPosition {
    int line = 1;
    int column = 1;
};
TextPosition positionOf(std::string_view text, std::size_t offset);

} // namespace minihost::io
