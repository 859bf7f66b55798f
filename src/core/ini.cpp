#include "core/ini.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <windows.h>

#include <io.h>

#include "core/winsys.h"
#else
#include <unistd.h>
#endif
#include <unordered_set>
#include <utility>
#include <vector>

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

std::string lowered(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = lower(c);
    return out;
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

// The key of a key line: the text before '=' (or all of it), trimmed.
std::string_view keyName(std::string_view raw) {
    const std::string_view body = trim(raw);
    return trim(body.substr(0, body.find('=')));
}

enum class Kind : std::uint8_t { Blank, Header, Key };

// What a line is. A '[' without a closing ']' is not a header; it is read as a key
// like any other text, which no valid key can match. Comments need no kind of
// their own: a line ";x=1" is the key ";x", which writeString() refuses, so it is
// only ever kept.
std::pair<Kind, std::string_view> classify(std::string_view raw) {
    const std::string_view body = trim(raw);
    if (body.empty()) return {Kind::Blank, {}};
    if (body.front() == '[') {
        const auto close = body.rfind(']');
        if (close != std::string_view::npos) return {Kind::Header, trim(body.substr(1, close - 1))};
    }
    return {Kind::Key, keyName(raw)};
}

// The value part of a key line as the profile call reads it, before the cut.
std::optional<std::string_view> valueOf(std::optional<std::string_view> line) {
    if (!line) return std::nullopt;
    const auto eq = line->find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    std::string_view value = line->substr(eq + 1);
    value = trim(value.substr(0, value.find('\0')));
    if (isQuoted(value)) value = value.substr(1, value.size() - 2);
    return value;
}

// The Windows call drops trailing blanks of the default as well.
std::string defaultValue(std::string_view def) {
    const auto last = def.find_last_not_of(kBlanks);
    return toBuffer(def.substr(0, last == std::string_view::npos ? 0 : last + 1));
}

// The settings of a process that has no settings file.
std::string& memoryFile() {
    static std::string text;
    return text;
}

#ifdef _WIN32
// Windows: the file opened by its UTF-16 name, shared as POSIX shares it, as a C
// runtime descriptor; errno ENOENT when it is missing.
int openForReading(const std::string& path) {
    const HANDLE h = ::CreateFileW(win::systemPath(path).c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        errno = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? ENOENT : EACCES;
        return -1;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDONLY | _O_BINARY);
    if (fd < 0) ::CloseHandle(h);
    return fd;
}
#else
// Non-blocking, so that a FIFO in the file's place is refused, not waited on.
int openForReading(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}
#endif

// The file's lines one at a time, each with its line end (CRLF, LF or a lone CR),
// read in blocks: what is kept of the file is up to the caller.
class LineReader {
  public:
    // From the file at path; a missing file is an empty one. `error` is set when it
    // exists but cannot be read as a file of at most IniFile::kMaxFileSize bytes.
    LineReader(const std::string& path, std::string& error) {
        if (path.empty()) {
            text_ = memoryFile();
            eof_ = true;
            return;
        }
        fd_ = openForReading(path);
        if (fd_ < 0) {
            if (errno == ENOENT || errno == ENOTDIR) {
                eof_ = true;
                missing_ = true;
                return;
            }
            error = "cannot be read";
            return;
        }
        struct stat st {};
        if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
            error = "cannot be read";
        } else if (static_cast<std::uintmax_t>(st.st_size) > IniFile::kMaxFileSize) {
            error = "is larger than 16 MiB";
        }
        if (!error.empty()) eof_ = true;
        // Blocks of 64 KiB, or the whole of a smaller file (and one byte to see its end).
        block_.resize(std::min<std::size_t>(kBlock, static_cast<std::size_t>(st.st_size) + 1));
    }
    ~LineReader() {
        if (fd_ >= 0) ::close(fd_);
    }
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    bool missing() const { return missing_; }
    // Set when reading failed part way, or the file grew past the limit.
    bool failed() const { return failed_; }

    // The UTF-8 byte-order mark at the start, if any, is taken off the first line.
    bool bom() {
        while (!eof_ && text_.size() < kBom.size())
            fill();
        if (!std::string_view(text_).starts_with(kBom)) return false;
        pos_ = kBom.size();
        return true;
    }

    // The next line and its line end (an index into kLineEnds); false at the end.
    // The view lasts until the next call.
    bool next(std::string_view& line, std::uint8_t& eol) {
        for (;;) {
            const std::size_t end = text_.find_first_of("\r\n", pos_);
            if (end != std::string::npos) {
                // A CR at the end of what was read may be half of a CRLF.
                if (text_[end] == '\r' && end + 1 == text_.size() && !eof_) {
                    fill();
                    continue;
                }
                line = std::string_view(text_).substr(pos_, end - pos_);
                if (text_[end] == '\n') {
                    eol = 1;
                    pos_ = end + 1;
                } else if (end + 1 < text_.size() && text_[end + 1] == '\n') {
                    eol = 2;
                    pos_ = end + 2;
                } else {
                    eol = 3;
                    pos_ = end + 1;
                }
                return true;
            }
            if (!eof_) {
                fill();
                continue;
            }
            if (pos_ >= text_.size()) return false;
            line = std::string_view(text_).substr(pos_);
            eol = 0;
            pos_ = text_.size();
            return true;
        }
    }

  private:
    void fill() {
        text_.erase(0, pos_);
        pos_ = 0;
        std::vector<char>& block = block_;
        for (;;) {
            const ssize_t n = ::read(fd_, block.data(), block.size());
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                failed_ = n < 0;
                eof_ = true;
                return;
            }
            read_ += static_cast<std::size_t>(n);
            if (read_ > IniFile::kMaxFileSize) {
                failed_ = true;
                eof_ = true;
                return;
            }
            text_.append(block.data(), static_cast<std::size_t>(n));
            return;
        }
    }

    static constexpr std::size_t kBlock = 65536;
    int fd_ = -1;
    std::vector<char> block_;
    std::string text_; // what was read and not yet taken, from pos_ on
    std::size_t pos_ = 0;
    std::size_t read_ = 0;
    bool eof_ = false;
    bool missing_ = false;
    bool failed_ = false;
};

} // namespace

std::string& IniFile::memoryFileForTesting() {
    return memoryFile();
}

IniFile::IniFile(std::string path, std::string section)
    : path_(std::move(path)), section_(std::move(section)) {}

bool IniFile::load() {
    keys_.clear();
    written_.clear();
    index_.clear();
    loaded_ = false;
    loadError_.clear();
    std::string error;
    LineReader reader(path_, error);
    // Only this section's keys are kept, the first line of each; the section ends
    // at the next header, and a later header of the same name is not this section.
    enum { Before, In, After } where = Before;
    std::string_view line;
    std::uint8_t eol = 0;
    reader.bom();
    while (error.empty() && where != After && reader.next(line, eol)) {
        const auto [kind, name] = classify(line);
        if (kind == Kind::Header) {
            if (where == In)
                where = After;
            else if (equalNoCase(name, section_))
                where = In;
        } else if (kind == Kind::Key && where == In) {
            // Only a key's first line is kept: a later one is never read.
            if (std::string key = lowered(name); !keys_.contains(key))
                keys_.emplace(std::move(key), Key{std::string(name), std::string(line)});
        }
    }
    if (error.empty() && reader.failed()) error = "cannot be read";
    if (!error.empty()) {
        keys_.clear();
        loadError_ = "The settings file " + path_ + " " + error +
                     (error == "cannot be read" ? "; " : " and is not read; ") +
                     "the defaults are used and nothing is saved to it.";
        return false;
    }
    loaded_ = true;
    return true;
}

std::optional<std::string_view> IniFile::findKey(std::string_view key) const {
    const std::string name = lowered(key);
    if (const auto w = index_.find(name); w != index_.end())
        return std::string_view(written_[w->second].line);
    if (const auto k = keys_.find(name); k != keys_.end()) return std::string_view(k->second.line);
    return std::nullopt;
}

bool IniFile::hasKey(std::string_view key) const {
    return findKey(trim(key)).has_value();
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
    const std::string name = lowered(key);
    const auto written = index_.find(name);
    if (written != index_.end()) {
        Written& w = written_[written->second];
        w.line = w.name + "=" + std::string(value);
        return true;
    }
    // Rewritten where it stands, keeping the file's spelling of the key.
    const auto inFile = keys_.find(name);
    const std::string spelling(inFile != keys_.end() ? std::string_view(inFile->second.name) : key);
    index_.emplace(name, written_.size());
    written_.push_back({spelling, spelling + "=" + std::string(value)});
    return true;
}

bool IniFile::readsBackUnchanged(std::string_view value) {
    if (hasLineBreakOrNul(value)) return false;
    if (value.empty()) return true;
    return trim(value).size() == value.size() && !isQuoted(value);
}

std::optional<std::string> IniFile::render(bool& changed, std::string& error) const {
    changed = false;
    LineReader reader(path_, error);
    if (!error.empty()) return std::nullopt;
    changed = reader.missing(); // a missing file is made, even an empty one
    std::string out;
    std::string lineEnd; // the file's first, which new lines take
    if (reader.bom()) out += kBom;
    // Only a last line can lack a line end; it gets one when something follows.
    bool open = false;
    const auto put = [&](std::string_view text, std::string_view end) {
        if (open) out += lineEnd.empty() ? std::string_view("\r\n") : std::string_view(lineEnd);
        out += text;
        out += end;
        open = end.empty();
    };
    std::vector<bool> done(written_.size());
    const auto putWritten = [&] {
        for (std::size_t i = 0; i < written_.size(); ++i) {
            if (done[i]) continue;
            put(written_[i].line, lineEnd.empty() ? "\r\n" : lineEnd);
            changed = true;
        }
        done.assign(done.size(), true);
    };
    // In the section, blank lines are held until a line follows them in it: new keys
    // go after its last line that is not blank.
    std::vector<std::pair<std::string, std::uint8_t>> blanks;
    const auto putBlanks = [&] {
        for (const auto& [text, end] : blanks)
            put(text, kLineEnds[end]);
        blanks.clear();
    };
    enum { Before, In, After } where = Before;
    std::unordered_set<std::string> seen; // keys of the section met so far
    std::string_view line;
    std::uint8_t eol = 0;
    while (reader.next(line, eol)) {
        if (lineEnd.empty() && eol != 0) lineEnd = kLineEnds[eol];
        const auto [kind, name] = classify(line);
        if (where == In) {
            if (kind == Kind::Blank) {
                blanks.emplace_back(line, eol);
                continue;
            }
            if (kind == Kind::Header) {
                putWritten();
                putBlanks();
                where = After;
            } else {
                putBlanks();
                const std::string key = lowered(name);
                const auto w = index_.find(key);
                if (w != index_.end() && seen.insert(key).second) {
                    done[w->second] = true;
                    const std::string& text = written_[w->second].line;
                    changed = changed || text != line;
                    put(text, kLineEnds[eol]);
                    continue;
                }
                seen.insert(key);
            }
        } else if (where == Before && kind == Kind::Header && equalNoCase(name, section_)) {
            where = In;
        }
        put(line, kLineEnds[eol]);
    }
    if (reader.failed()) {
        error = "cannot be read";
        return std::nullopt;
    }
    if (where == In) {
        putWritten();
        putBlanks();
    } else if (where == Before && std::find(done.begin(), done.end(), false) != done.end()) {
        put("[" + section_ + "]", lineEnd.empty() ? "\r\n" : lineEnd);
        putWritten();
    }
    return out;
}

std::string IniFile::text() const {
    bool changed = false;
    std::string error;
    return render(changed, error).value_or(std::string());
}

WriteResult IniFile::save() const {
    if (!loaded_) return {false, "The settings file could not be read, so it is left as it is."};
    bool changed = false;
    std::string error;
    const auto out = render(changed, error);
    if (!out) return {false, "The settings file " + error + ", so it is left as it is."};
    // A file that would come out byte for byte as it is is left alone: no rewrite
    // and no flush to disk for settings that did not change.
    if (!changed) return {};
    if (out->size() > kMaxFileSize)
        return {false, "The settings file would be larger than 16 MiB, so it is left as it is."};
    if (path_.empty()) {
        memoryFile() = *out;
        return {};
    }
    // The settings file's place may be one another user could prepare: a link of
    // theirs is not followed.
    WriteOptions options;
    options.ownLinksOnly = true;
    return writeFileAtomic(
        path_, std::span(reinterpret_cast<const std::uint8_t*>(out->data()), out->size()), options);
}

} // namespace qv
