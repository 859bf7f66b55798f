#include "core/ini.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <utility>

namespace qv {

namespace {

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

constexpr std::string_view kLineEnds[] = {"", "\n", "\r\n", "\r"};

std::uint64_t hashNoCase(std::string_view s) {
    std::uint64_t h = 1469598103934665603ull; // FNV-1a
    for (char c : s)
        h = (h ^ static_cast<unsigned char>(lower(c))) * 1099511628211ull;
    return h;
}

// The key of a key line: the text before '=' (or all of it), trimmed.
std::string_view keyName(std::string_view raw) {
    const std::string_view body = trim(raw);
    return trim(body.substr(0, body.find('=')));
}

} // namespace

namespace {

// The settings of a process that has no settings file.
std::string& memoryFile() {
    static std::string text;
    return text;
}

} // namespace

IniFile::IniFile(std::string path, std::string section)
    : path_(std::move(path)), section_(std::move(section)) {}

namespace {

// What a line is. A '[' without a closing ']' is not a header; it is read as a key
// like any other text, which no valid key can match. Comments need no kind of
// their own: a line ";x=1" is the key ";x", which writeString() refuses, so it is
// only ever kept.
std::pair<std::uint8_t, std::string_view> classify(std::string_view raw) {
    const std::string_view body = trim(raw);
    if (body.empty()) return {0, {}};
    if (body.front() == '[') {
        const auto close = body.rfind(']');
        if (close != std::string_view::npos) return {1, trim(body.substr(1, close - 1))};
    }
    return {static_cast<std::uint8_t>(body.find('=') == std::string_view::npos ? 2 : 3),
            keyName(raw)};
}

} // namespace

bool IniFile::load() {
    text_.clear();
    lines_.clear();
    keys_.clear();
    added_.clear();
    sectionLine_ = -1;
    anchor_ = 0;
    newLineEnd_ = "\r\n";
    bom_ = false;
    loaded_ = false;
    loadError_.clear();
    fileSize_.reset();
    if (path_.empty()) {
        text_ = memoryFile();
    } else {
        if (!fileExists(path_)) {
            loaded_ = true;
            return true;
        }
        const auto size = readableFileSize(path_);
        if (size && *size > kMaxFileSize) {
            loadError_ = "The settings file " + path_ +
                         " is larger than 16 MiB and is not read; the defaults are used and "
                         "nothing is saved to it.";
            return false;
        }
        auto data = readWholeFile(path_, kMaxFileSize);
        if (!data) {
            loadError_ = "The settings file " + path_ +
                         " cannot be read; the defaults are used and nothing is saved to it.";
            return false;
        }
        text_.assign(reinterpret_cast<const char*>(data->data()), data->size());
    }
    fileSize_ = text_.size();
    std::size_t pos = 0;
    if (std::string_view(text_).starts_with(kBom)) {
        bom_ = true;
        pos = kBom.size();
    }
    // CRLF, LF and a lone CR all end a line, and each line keeps its own.
    bool sawEnd = false;
    const std::string_view all(text_);
    while (pos < all.size()) {
        auto end = all.find_first_of("\r\n", pos);
        Line line;
        line.start = static_cast<std::uint32_t>(pos);
        if (end == std::string_view::npos) {
            end = all.size();
            pos = end;
        } else if (all[end] == '\r' && end + 1 < all.size() && all[end + 1] == '\n') {
            line.eol = 2;
            pos = end + 2;
        } else {
            line.eol = all[end] == '\n' ? 1 : 3;
            pos = end + 1;
        }
        line.length = static_cast<std::uint32_t>(end - line.start);
        line.kind = static_cast<Kind>(classify(raw(line)).first);
        if (line.eol != 0 && !sawEnd) {
            newLineEnd_ = kLineEnds[line.eol];
            sawEnd = true;
        }
        // Blank lines in a row that are alike are kept as one entry and a count.
        if (line.kind == Kind::Blank && !lines_.empty()) {
            Line& prev = lines_.back();
            if (prev.kind == Kind::Blank && prev.eol == line.eol && raw(prev) == raw(line)) {
                ++prev.count;
                continue;
            }
        }
        lines_.push_back(line);
    }
    index();
    loaded_ = true;
    return true;
}

void IniFile::index() {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind != Kind::Header) continue;
        if (!equalNoCase(classify(raw(lines_[i])).second, section_)) continue;
        sectionLine_ = static_cast<long>(i);
        break;
    }
    if (sectionLine_ < 0) return;
    anchor_ = static_cast<std::size_t>(sectionLine_);
    for (std::size_t i = anchor_ + 1; i < lines_.size() && lines_[i].kind != Kind::Header; ++i) {
        if (lines_[i].kind == Kind::Blank) continue;
        anchor_ = i;
        keys_.push_back({hashNoCase(keyName(raw(lines_[i]))), static_cast<std::uint32_t>(i)});
    }
    std::sort(keys_.begin(), keys_.end());
}

std::optional<std::string_view> IniFile::findKey(std::string_view key) const {
    // The file's own keys come first; keys added since load() follow all of them.
    const auto first = std::lower_bound(keys_.begin(), keys_.end(), KeyRef{hashNoCase(key), 0});
    for (auto it = first; it != keys_.end() && it->hash == first->hash; ++it) {
        const std::string_view r = raw(lines_[it->line]);
        if (equalNoCase(keyName(r), key)) return r;
    }
    for (const std::string& line : added_)
        if (equalNoCase(keyName(line), key)) return std::string_view(line);
    return std::nullopt;
}

// The value part of a key line as the profile call reads it, before the cut.
static std::optional<std::string_view> valueOf(std::optional<std::string_view> line) {
    if (!line) return std::nullopt;
    const auto eq = line->find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    std::string_view value = line->substr(eq + 1);
    value = trim(value.substr(0, value.find('\0')));
    if (isQuoted(value)) value = value.substr(1, value.size() - 2);
    return value;
}

// The Windows call drops trailing blanks of the default as well.
static std::string defaultValue(std::string_view def) {
    const auto last = def.find_last_not_of(kBlanks);
    return toBuffer(def.substr(0, last == std::string_view::npos ? 0 : last + 1));
}

std::string IniFile::readString(std::string_view key, std::string_view def) const {
    const auto value = valueOf(findKey(trim(key)));
    return value ? toBuffer(*value) : defaultValue(def);
}

std::string IniFile::readWholeString(std::string_view key, std::string_view def) const {
    const auto value = valueOf(findKey(trim(key)));
    return value ? std::string(*value) : defaultValue(def);
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
    // What was read is written back as it was read: a line is only rewritten for a
    // value it does not already give.
    if (valueOf(findKey(key)) == value) return true;

    const auto first = std::lower_bound(keys_.begin(), keys_.end(), KeyRef{hashNoCase(key), 0});
    for (auto it = first; it != keys_.end() && it->hash == first->hash; ++it) {
        Line& line = lines_[it->line];
        const std::string_view name = keyName(raw(line));
        if (!equalNoCase(name, key)) continue;
        // Rewritten where it stands, keeping the file's spelling of the key and the
        // line's own line end; the new text goes to the end of the buffer.
        const std::string rewritten = std::string(name) + "=" + std::string(value);
        line.start = static_cast<std::uint32_t>(text_.size());
        line.length = static_cast<std::uint32_t>(rewritten.size());
        line.kind = Kind::KeyValue;
        text_ += rewritten;
        return true;
    }
    for (std::string& line : added_) {
        if (!equalNoCase(keyName(line), key)) continue;
        line = std::string(keyName(line)) + "=" + std::string(value);
        return true;
    }
    added_.push_back(std::string(key) + "=" + std::string(value));
    return true;
}

bool IniFile::readsBackUnchanged(std::string_view value) {
    if (hasLineBreakOrNul(value)) return false;
    if (value.empty()) return true;
    return trim(value).size() == value.size() && !isQuoted(value);
}

std::string IniFile::text() const {
    std::string out;
    out.reserve(text_.size() + 64 * added_.size() + 64);
    if (bom_) out += kBom;
    // Only a last line can lack a line end; it gets one when something follows.
    bool open = false;
    const auto put = [&](std::string_view line, std::string_view end) {
        if (open) out += newLineEnd_;
        out += line;
        out += end;
        open = end.empty();
    };
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        for (std::uint32_t n = 0; n < line.count; ++n)
            put(raw(line), kLineEnds[line.eol]);
        if (sectionLine_ >= 0 && i == anchor_)
            for (const std::string& added : added_)
                put(added, newLineEnd_);
    }
    if (sectionLine_ < 0 && !added_.empty()) {
        put("[" + section_ + "]", newLineEnd_);
        for (const std::string& added : added_)
            put(added, newLineEnd_);
    }
    return out;
}

WriteResult IniFile::save() const {
    if (!loaded_) return {false, "The settings file could not be read, so it is left as it is."};
    const std::string out = text();
    // A file that would come out byte for byte as it was read is left alone: no
    // rewrite and no flush to disk for settings that did not change.
    if (fileSize_ && std::string_view(text_).substr(0, *fileSize_) == out) return {};
    if (out.size() > kMaxFileSize)
        return {false, "The settings file would be larger than 16 MiB, so it is left as it is."};
    if (path_.empty()) {
        memoryFile() = out;
        return {};
    }
    // The settings file's place may be one another user could prepare: a link of
    // theirs is not followed.
    WriteOptions options;
    options.ownLinksOnly = true;
    return writeFileAtomic(
        path_, std::span(reinterpret_cast<const std::uint8_t*>(out.data()), out.size()), options);
}

} // namespace qv
