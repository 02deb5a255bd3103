#pragma once
// The one reader of the flat JSON texts the program meets (settings, projects, language files and
// the product page's reply): it finds a member by its quoted key, wherever it is, and reads its
// value by the caller's rule. Narrow text is UTF-8 bytes; wide text is already decoded.
#include <optional>
#include <string>
#include <string_view>

// How a caller reads a string value.
struct StringRule {
    enum Escapes {
        None,         // a backslash is an ordinary character
        Plain,        // \n \r \t; any other escaped character stands for itself
        WithUnicode,  // Plain and \uXXXX (wide text only), a surrogate pair joined where a unit holds it
    };
    Escapes escapes = Plain;
    bool needsClosingQuote = false;  // else a string left open runs to the end of the text
    bool seeksOpeningQuote = false;  // else the value must open right at the position given
};

// Flat key search: the position just after the first colon that follows the first "key", white
// space skipped (the text's end when nothing follows); none when the key or the colon is missing.
std::optional<size_t> findJsonValue(std::string_view text, std::string_view key);
std::optional<size_t> findJsonValue(std::wstring_view text, std::wstring_view key);

// The string at pos by the rule, and in end (when given) the position after its closing quote, or
// the text's end; none when there is no string there (or it is left open and must not be).
std::optional<std::string> readJsonString(std::string_view text, size_t pos, StringRule rule,
                                          size_t* end = nullptr);
std::optional<std::wstring> readJsonString(std::wstring_view text, size_t pos, StringRule rule,
                                           size_t* end = nullptr);

// true/1 or false/0 at pos.
std::optional<bool> readJsonBool(std::string_view text, size_t pos);
// The number at pos, white space skipped; none for one too small or too large for a double.
std::optional<double> readJsonNumber(std::string_view text, size_t pos);
