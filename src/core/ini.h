#pragma once
// The settings file: a small private-profile INI reader and writer that keeps the
// rules of the Windows profile calls (keys and sections found case-insensitively,
// values trimmed, cut to 1,023 characters where the profile call cuts them, an
// existing key rewritten in place, a new key added at the end of its section), so that an INI file
// edited by hand or by Windows programs keeps its layout when we write to it. One object serves one
// section.
//
// The file is read once by load(); writes change the copy in memory and save()
// replaces the file as a whole. Many writes followed by one save() give the file
// that the same writes would give one by one.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/fileio.h"

namespace qv {

class IniFile {
  public:
    // The Windows calls read into a 1,024-byte buffer, terminator included.
    static constexpr std::size_t kMaxValueLength = 1023;
    // A settings file is a few kilobytes; a larger one than this is not read (and
    // so never written), and no save makes one.
    static constexpr std::size_t kMaxFileSize = 16u * 1024 * 1024;

    // With an empty path the file lives in this process's memory: every IniFile
    // without a path reads what the last one saved.
    explicit IniFile(std::string path, std::string section = "qorv");

    const std::string& path() const { return path_; }

    // Reads the file. A missing file is an empty one. Returns false, leaving the
    // object empty and refusing to save, when the file exists but cannot be read
    // (a folder, no permission, larger than kMaxFileSize): saving would then throw
    // away whatever it holds. Time and memory are linear in the file's size.
    bool load();
    // Why the last load() failed, in a sentence for the user; empty after success.
    const std::string& loadError() const { return loadError_; }
    bool loaded() const { return loaded_; }

    // The value of key in this object's section, blanks around it removed and one
    // pair of matching quotes around it dropped, cut at a NUL byte and to
    // kMaxValueLength characters; def when the key is absent or has no '='.
    std::string readString(std::string_view key, std::string_view def) const;
    // As readString, but not cut to kMaxValueLength: the value the file holds, whole.
    std::string readWholeString(std::string_view key, std::string_view def) const;
    // The value as a decimal integer (optional sign, nothing else); def otherwise,
    // including values out of the range of int.
    int readInt(std::string_view key, int def) const;
    // Whether the section has a line for key (with or without a value).
    bool hasKey(std::string_view key) const { return findKey(key).has_value(); }

    // Sets key to value in memory. Returns false and changes nothing when the pair
    // cannot be stored in a line-based file: a key that is empty, contains '=' or
    // starts with '[' or ';', or a key or value with a line break or a NUL byte.
    // Setting a key to the value it reads leaves its line as the file has it.
    bool writeString(std::string_view key, std::string_view value);

    // True when a value written as is reads back unchanged by readWholeString: no
    // line break or NUL, no surrounding blanks or quotes.
    static bool readsBackUnchanged(std::string_view value);

    // Replaces the file with the current contents. Every line keeps its own line
    // end; new lines take the file's first one (CRLF in a new file). Fails without
    // touching the file when load() has not succeeded or the file would grow past
    // kMaxFileSize. A file whose contents would not change is not written again.
    WriteResult save() const;

    // The file as save() would write it.
    std::string text() const;

  private:
    enum class Kind : std::uint8_t { Blank, Header, Key, KeyValue };
    // One line of the file, or a run of identical blank lines, as a view into
    // text_: a few bytes per line whatever the file holds.
    struct Line {
        std::uint32_t start = 0;
        std::uint32_t length = 0;
        std::uint32_t count = 1;
        std::uint8_t eol = 0; // index into kLineEnds: none, LF, CRLF, CR
        Kind kind = Kind::Blank;
    };
    // A key line of this object's section: the hash of its lower-cased name.
    struct KeyRef {
        std::uint64_t hash = 0;
        std::uint32_t line = 0;
        bool operator<(const KeyRef& o) const {
            return hash != o.hash ? hash < o.hash : line < o.line;
        }
    };

    std::string_view raw(const Line& line) const {
        return std::string_view(text_).substr(line.start, line.length);
    }
    // The raw text of the key's line in this object's section, or nothing.
    std::optional<std::string_view> findKey(std::string_view key) const;
    void index();

    std::string path_;
    std::string section_;
    std::string text_; // the file as read (its mark included), then rewritten lines
    std::optional<std::size_t> fileSize_; // the size of the file as read, when it existed
    std::vector<Line> lines_;             // the file's lines in order
    std::vector<KeyRef> keys_;
    long sectionLine_ = -1;          // this object's section header in lines_, or -1
    std::size_t anchor_ = 0;         // new keys go after this line: the section's last non-blank
    std::vector<std::string> added_; // new key lines, in the order written
    std::string newLineEnd_ = "\r\n";
    bool loaded_ = false;
    bool bom_ = false; // a UTF-8 byte-order mark is kept where it was
    std::string loadError_;
};

} // namespace qv
