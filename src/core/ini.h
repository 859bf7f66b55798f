#pragma once
// The settings file: a small private-profile INI reader and writer that keeps the
// rules of the Windows profile calls (keys and sections found case-insensitively,
// values trimmed and cut to 1,023 characters, an existing key rewritten in place, a
// new key added at the end of its section), so that an INI file edited by hand or
// by Windows programs keeps its layout when we write to it. One object serves one
// section.
//
// The file is read once by load(); writes change the copy in memory and save()
// replaces the file as a whole. Many writes followed by one save() give the file
// that the same writes would give one by one.
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

    explicit IniFile(std::string path, std::string section = "qorv");

    const std::string& path() const { return path_; }

    // Reads the file. A missing file is an empty one. Returns false, leaving the
    // object empty and refusing to save, when the file exists but cannot be read
    // (a folder, no permission, implausibly large): saving would then throw away
    // whatever it holds.
    bool load();

    // The value of key in this object's section, blanks around it removed and one
    // pair of matching quotes around it dropped, cut at a NUL byte and to
    // kMaxValueLength characters; def when the key is absent or has no '='.
    std::string readString(std::string_view key, std::string_view def) const;
    // The value as a decimal integer (optional sign, nothing else); def otherwise,
    // including values out of the range of int.
    int readInt(std::string_view key, int def) const;
    // Whether the section has a line for key (with or without a value).
    bool hasKey(std::string_view key) const { return findKey(key) >= 0; }

    // Sets key to value in memory. Returns false and changes nothing when the pair
    // cannot be stored in a line-based file: a key that is empty, contains '=' or
    // starts with '[' or ';', or a key or value with a line break or a NUL byte.
    bool writeString(std::string_view key, std::string_view value);

    // True when a value written as is reads back unchanged: no line break or NUL,
    // no surrounding blanks or quotes, not longer than kMaxValueLength.
    static bool readsBackUnchanged(std::string_view value);

    // Replaces the file with the current contents (CRLF line ends). Fails without
    // touching the file when load() has not succeeded. A file whose contents would
    // not change is not written again.
    WriteResult save() const;

    // The file as save() would write it.
    std::string text() const;

  private:
    struct Line {
        std::string raw; // the line as read, without its line end
        bool isHeader = false;
        std::string name; // section name (header) or key (key line), trimmed
        bool isKey = false;
        bool hasValue = false; // a key line with '='
    };
    static Line parseLine(std::string raw);
    // Index of this object's section header, or -1.
    long findSection() const;
    // Index of the key's line in this object's section, or -1.
    long findKey(std::string_view key) const;

    std::string path_;
    std::string section_;
    std::vector<Line> lines_;
    bool loaded_ = false;
    bool bom_ = false;                  // a UTF-8 byte-order mark is kept where it was
    std::optional<std::string> onDisk_; // the file as load() read it, when it existed
};

} // namespace qv
