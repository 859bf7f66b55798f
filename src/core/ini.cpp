#include "core/ini.h"

#include <charconv>
#include <cstdint>
#include <utility>

namespace qv {

namespace {

// A settings file is a few kilobytes; anything far larger is not one.
constexpr std::uintmax_t kMaxFileSize = 16u * 1024 * 1024;
constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t";

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

bool hasLineBreakOrNul(std::string_view s) {
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// The Windows call drops one pair of matching quotes around a value.
bool isQuoted(std::string_view s) {
    return s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front();
}

// What the caller's fixed buffer receives: the text up to a NUL, at most
// kMaxValueLength characters.
std::string toBuffer(std::string_view s) {
    s = s.substr(0, s.find('\0'));
    return std::string(s.substr(0, IniFile::kMaxValueLength));
}

} // namespace

IniFile::IniFile(std::string path, std::string section)
    : path_(std::move(path)), section_(std::move(section)) {}

IniFile::Line IniFile::parseLine(std::string raw) {
    Line line;
    line.raw = std::move(raw);
    const std::string_view body = trim(line.raw);
    if (body.empty()) return line;
    if (body.front() == '[') {
        // A '[' without a closing ']' is not a header; it is read as a key like any
        // other text, which no valid key can match.
        const auto close = body.rfind(']');
        if (close != std::string_view::npos) {
            line.isHeader = true;
            line.name = trim(body.substr(1, close - 1));
            return line;
        }
    }
    // Comments need no case of their own: a line ";x=1" is the key ";x", which
    // writeString() refuses, so it is only ever kept.
    line.isKey = true;
    const auto eq = body.find('=');
    line.hasValue = eq != std::string_view::npos;
    line.name = trim(body.substr(0, eq));
    return line;
}

bool IniFile::load() {
    lines_.clear();
    bom_ = false;
    loaded_ = false;
    onDisk_.reset();
    if (!fileExists(path_)) {
        loaded_ = true;
        return true;
    }
    const auto data = readWholeFile(path_, kMaxFileSize);
    if (!data) return false;
    onDisk_.emplace(reinterpret_cast<const char*>(data->data()), data->size());
    std::string_view text(*onDisk_);
    if (text.starts_with(kBom)) {
        bom_ = true;
        text.remove_prefix(kBom.size());
    }
    // CRLF, LF and a lone CR all end a line.
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            lines_.push_back(parseLine(std::string(text.substr(pos))));
            break;
        }
        lines_.push_back(parseLine(std::string(text.substr(pos, end - pos))));
        pos = end + 1;
        if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
    }
    loaded_ = true;
    return true;
}

long IniFile::findSection() const {
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].isHeader && equalNoCase(lines_[i].name, section_))
            return static_cast<long>(i);
    return -1;
}

long IniFile::findKey(std::string_view key) const {
    const long sec = findSection();
    if (sec < 0) return -1;
    for (std::size_t i = static_cast<std::size_t>(sec) + 1; i < lines_.size(); ++i) {
        if (lines_[i].isHeader) break;
        if (lines_[i].isKey && equalNoCase(lines_[i].name, key)) return static_cast<long>(i);
    }
    return -1;
}

std::string IniFile::readString(std::string_view key, std::string_view def) const {
    const long idx = findKey(trim(key));
    if (idx < 0 || !lines_[static_cast<std::size_t>(idx)].hasValue) {
        // The Windows call drops trailing blanks of the default as well.
        const auto last = def.find_last_not_of(kBlanks);
        return toBuffer(def.substr(0, last == std::string_view::npos ? 0 : last + 1));
    }
    const std::string& raw = lines_[static_cast<std::size_t>(idx)].raw;
    std::string_view value = std::string_view(raw).substr(raw.find('=') + 1);
    value = trim(value.substr(0, value.find('\0')));
    if (isQuoted(value)) value = value.substr(1, value.size() - 2);
    return toBuffer(value);
}

int IniFile::readInt(std::string_view key, int def) const {
    const std::string text = readString(key, "");
    std::string_view digits = text;
    if (digits.size() >= 2 && digits[0] == '+' && digits[1] >= '0' && digits[1] <= '9')
        digits.remove_prefix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size() || digits.empty()) return def;
    return value;
}

bool IniFile::writeString(std::string_view key, std::string_view value) {
    key = trim(key);
    if (key.empty() || key.find('=') != std::string_view::npos || key.front() == '[' ||
        key.front() == ';' || hasLineBreakOrNul(key) || hasLineBreakOrNul(value))
        return false;

    const long idx = findKey(key);
    if (idx >= 0) {
        // Rewritten where it stands, keeping the file's spelling of the key.
        Line& line = lines_[static_cast<std::size_t>(idx)];
        line = parseLine(line.name + "=" + std::string(value));
        return true;
    }
    Line line = parseLine(std::string(key) + "=" + std::string(value));
    const long sec = findSection();
    if (sec < 0) {
        lines_.push_back(parseLine("[" + section_ + "]"));
        lines_.push_back(std::move(line));
        return true;
    }
    // After the section's last non-blank line, so that the blank lines that set
    // it apart from the next section stay after it.
    std::size_t at = static_cast<std::size_t>(sec) + 1;
    for (std::size_t i = at; i < lines_.size() && !lines_[i].isHeader; ++i)
        if (!trim(lines_[i].raw).empty()) at = i + 1;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    return true;
}

bool IniFile::readsBackUnchanged(std::string_view value) {
    if (value.size() > kMaxValueLength || hasLineBreakOrNul(value)) return false;
    if (value.empty()) return true;
    return trim(value).size() == value.size() && !isQuoted(value);
}

std::string IniFile::text() const {
    std::string out;
    if (bom_) out += kBom;
    for (const Line& line : lines_) {
        out += line.raw;
        out += "\r\n";
    }
    return out;
}

WriteResult IniFile::save() const {
    if (!loaded_) return {false, "The settings file could not be read, so it is left as it is."};
    const std::string out = text();
    // A file that would come out byte for byte as it was read is left alone: no
    // rewrite and no flush to disk for settings that did not change.
    if (onDisk_ && *onDisk_ == out) return {};
    return writeFileAtomic(
        path_, std::span(reinterpret_cast<const std::uint8_t*>(out.data()), out.size()));
}

} // namespace qv
