#pragma once
// The comma-field tokenizer shared by the text readers, and the lenient
// number conversions that go with it.
//
// A line is split at commas only. A field ends at the next comma, at CR, at
// LF or at the end of the text; blanks (spaces and tabs) at the end of a field
// are removed, blanks at its start remain. An empty field between two commas
// comes back as an empty string, and so does the field after a trailing
// comma; only when the scan has reached the end of the line is there no
// further field. The fields are views into the caller's text: nothing is
// copied or allocated.

#include <cstdint>
#include <string_view>

namespace kov {

class CommaFields {
public:
    explicit CommaFields(std::string_view line);

    // The next field; false (and `field` untouched) when the line has ended.
    bool Next(std::string_view& field);
    // Skips one field; false when the line has ended.
    bool Skip();
    // True when no further field follows.
    bool AtEnd() const { return done_; }

    // Next field converted leniently; false (target untouched) when absent.
    bool NextReal(double& target);
    bool NextInteger(std::int64_t& target);

private:
    std::string_view line_;
    std::size_t pos_ = 0;
    bool done_ = false;
};

// Lenient conversions. Leading blanks are skipped; a real is the leading
// decimal number (optional sign, fraction and exponent), an integer the
// leading decimal digits after an optional sign (saturating at the int64
// range). Text that does not begin with a number, and an empty field, read
// as 0. Infinity and NaN are never produced.
double FieldToReal(std::string_view field);
std::int64_t FieldToInteger(std::string_view field);
// Whether the field starts (after blanks) with a number FieldToReal reads.
bool FieldIsNumber(std::string_view field);
// The field without blanks at either end.
std::string_view TrimField(std::string_view field);

}  // namespace kov
