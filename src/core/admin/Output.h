// What the commands print: JSON values, and tables written as aligned text, CSV or JSON.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace kalvintor::admin {

enum class Format { Table, Csv, Json };

// A JSON value; objects keep their members in the order they were added.
class Json {
public:
    using Array = std::vector<Json>;
    using Object = std::vector<std::pair<std::string, Json>>;

    Json() = default;  // null
    Json(bool value) : value_(value) {}
    Json(int value) : value_(static_cast<std::int64_t>(value)) {}
    Json(std::int64_t value) : value_(value) {}
    Json(double value) : value_(value) {}
    Json(std::string value) : value_(std::move(value)) {}
    Json(std::string_view value) : value_(std::string(value)) {}
    Json(const char* value) : value_(std::string(value)) {}
    Json(Array value) : value_(std::move(value)) {}
    Json(Object value) : value_(std::move(value)) {}

    static Json array() { return Json(Array{}); }
    static Json object() { return Json(Object{}); }

    // Adds a member to an object or an element to an array; returns the value added.
    Json& add(std::string name, Json value);
    Json& push(Json value);

    bool isNull() const { return std::holds_alternative<std::monostate>(value_); }
    // The value as a table cell shows it: text as it is, numbers in decimal, null as nothing.
    std::string plain() const;

    // Compact JSON on one line; texts that are not valid UTF-8 are read as code page 1252.
    void write(std::ostream& out) const;
    // Readable text: "name: value" lines, members of nested objects indented, lists of plain
    // values on one line.
    void writeText(std::ostream& out, int indent = 0) const;

private:
    std::variant<std::monostate, bool, std::int64_t, double, std::string, Array, Object> value_;
};

// One listing: named columns and rows of cells.
struct Table {
    std::vector<std::string> columns;
    std::vector<std::vector<Json>> rows;

    void write(std::ostream& out, Format format) const;
};

// A CSV field quoted as RFC 4180 asks: in double quotes, with quotes doubled, when it holds a
// comma, a quote, a line break or blanks at its ends.
std::string csvField(std::string_view text);
// A JSON string literal, quotes included.
std::string jsonString(std::string_view text);

}  // namespace kalvintor::admin
