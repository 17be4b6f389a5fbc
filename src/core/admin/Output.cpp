// JSON, CSV and aligned-text output of the admin commands.
#include "admin/Output.h"

#include "records/Cp1252.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kalvintor::admin {

namespace {

// Characters of UTF-8 text, for aligning columns.
std::size_t width(std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(
        utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// Text as a terminal is given it: every control character (line breaks and tabs among them, DEL,
// and the C1 controls that code page 1252 leaves undefined) becomes a blank, so that a value stays
// on its line and a damaged or hostile name in a data file cannot steer the terminal.
std::string forTerminal(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const bool c1 = c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(utf8[i + 1]) <= 0x9F;
        if (c < 0x20 || c == 0x7F || c1) {
            out += ' ';
            i += c1 ? 1 : 0;
        } else {
            out += utf8[i];
        }
    }
    return out;
}

std::string number(double value) {
    if (!std::isfinite(value)) return {};
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

}  // namespace

Json& Json::add(std::string name, Json value) {
    auto& members = std::get<Object>(value_);
    members.emplace_back(std::move(name), std::move(value));
    return members.back().second;
}

Json& Json::push(Json value) {
    auto& elements = std::get<Array>(value_);
    elements.push_back(std::move(value));
    return elements.back();
}

std::string Json::plain() const {
    if (const auto* b = std::get_if<bool>(&value_)) return *b ? "yes" : "no";
    if (const auto* i = std::get_if<std::int64_t>(&value_)) return std::to_string(*i);
    if (const auto* d = std::get_if<double>(&value_)) return number(*d);
    if (const auto* s = std::get_if<std::string>(&value_)) return records::utf8WithCp1252Fallback(*s);
    return {};
}

std::string jsonString(std::string_view text) {
    const std::string utf8 = records::utf8WithCp1252Fallback(text);
    std::string out = "\"";
    for (const char c : utf8) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

void Json::write(std::ostream& out) const {
    if (const auto* s = std::get_if<std::string>(&value_)) {
        out << jsonString(*s);
    } else if (const auto* d = std::get_if<double>(&value_)) {
        // JSON has no infinities or NaN: a damaged figure is written as null.
        out << (std::isfinite(*d) ? number(*d) : "null");
    } else if (const auto* a = std::get_if<Array>(&value_)) {
        out << '[';
        for (std::size_t i = 0; i < a->size(); ++i) {
            if (i) out << ',';
            (*a)[i].write(out);
        }
        out << ']';
    } else if (const auto* o = std::get_if<Object>(&value_)) {
        out << '{';
        for (std::size_t i = 0; i < o->size(); ++i) {
            if (i) out << ',';
            out << jsonString((*o)[i].first) << ':';
            (*o)[i].second.write(out);
        }
        out << '}';
    } else if (const auto* b = std::get_if<bool>(&value_)) {
        out << (*b ? "true" : "false");
    } else if (const auto* i = std::get_if<std::int64_t>(&value_)) {
        out << *i;
    } else {
        out << "null";
    }
}

void Json::writeText(std::ostream& out, int indent) const {
    const std::string pad(static_cast<std::size_t>(indent), ' ');
    if (const auto* o = std::get_if<Object>(&value_)) {
        for (const auto& [name, member] : *o) {
            const auto* list = std::get_if<Array>(&member.value_);
            const bool scalars = list && std::all_of(list->begin(), list->end(), [](const Json& j) {
                                     return !std::holds_alternative<Object>(j.value_) &&
                                            !std::holds_alternative<Array>(j.value_);
                                 });
            if (std::holds_alternative<Object>(member.value_) || (list && !scalars)) {
                out << pad << name << ":\n";
                member.writeText(out, indent + 2);
            } else if (list) {
                std::string line;
                for (const auto& item : *list) line += (line.empty() ? "" : ", ") + item.plain();
                out << pad << name << ": " << (list->empty() ? "none" : forTerminal(line)) << '\n';
            } else {
                out << pad << name << ": " << forTerminal(member.plain()) << '\n';
            }
        }
    } else if (const auto* a = std::get_if<Array>(&value_)) {
        for (std::size_t i = 0; i < a->size(); ++i) {
            if (std::holds_alternative<Object>((*a)[i].value_)) {
                out << pad << "- " << (i + 1) << '\n';
                (*a)[i].writeText(out, indent + 2);
            } else {
                out << pad << "- " << forTerminal((*a)[i].plain()) << '\n';
            }
        }
    } else {
        out << pad << forTerminal(plain()) << '\n';
    }
}

std::string csvField(std::string_view text) {
    const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote) return std::string(text);
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

void Table::write(std::ostream& out, Format format) const {
    switch (format) {
        case Format::Json: {
            Json list = Json::array();
            for (const auto& row : rows) {
                Json& object = list.push(Json::object());
                for (std::size_t c = 0; c < columns.size() && c < row.size(); ++c)
                    object.add(columns[c], row[c]);
            }
            list.write(out);
            out << '\n';
            break;
        }
        case Format::Csv: {
            // Lines end in CR LF, as RFC 4180 has them and spreadsheet programs expect.
            for (std::size_t c = 0; c < columns.size(); ++c) out << (c ? "," : "") << csvField(columns[c]);
            out << "\r\n";
            for (const auto& row : rows) {
                for (std::size_t c = 0; c < row.size(); ++c)
                    out << (c ? "," : "") << csvField(row[c].plain());
                out << "\r\n";
            }
            break;
        }
        case Format::Table: {
            std::vector<std::size_t> widths;
            for (const auto& column : columns) widths.push_back(width(column));
            std::vector<std::vector<std::string>> cells;
            for (const auto& row : rows) {
                auto& line = cells.emplace_back();
                for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c) {
                    // One listing line per row: line breaks inside a cell are shown as blanks.
                    std::string text = forTerminal(row[c].plain());
                    widths[c] = std::max(widths[c], width(text));
                    line.push_back(std::move(text));
                }
            }
            auto writeLine = [&](const std::vector<std::string>& line) {
                std::string text;
                for (std::size_t c = 0; c < line.size(); ++c) {
                    if (c) text += "  ";
                    text += line[c];
                    if (c + 1 < line.size()) text.append(widths[c] - width(line[c]), ' ');
                }
                // Empty cells at the end of a line leave no trailing blanks.
                text.erase(text.find_last_not_of(' ') + 1);
                out << text << '\n';
            };
            writeLine(columns);
            for (const auto& line : cells) writeLine(line);
            break;
        }
    }
}

}  // namespace kalvintor::admin
