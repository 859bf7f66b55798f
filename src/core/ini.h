#pragma once
// The settings file: a small private-profile INI reader and writer that keeps the
// rules of the Windows profile calls (keys and sections found case-insensitively,
// values trimmed, cut to 1,023 characters where the profile call cuts them, an
// existing key rewritten in place, a new key added at the end of its section), so
// that an INI file edited by hand or by Windows programs keeps its layout when we
// write to it. One object serves one section.
//
// load() reads the file once and keeps only this section's keys; writes change what
// the object reads, and save() writes them into the file as it then stands, every
// other line kept as it is. Many writes followed by one save() give the file that
// the same writes would give one by one.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
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
    // away whatever it holds. Time is linear in the file's size; memory follows the
    // section's keys, whatever else the file holds.
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
    bool hasKey(std::string_view key) const;

    // Sets key to value in memory. Returns false and changes nothing when the pair
    // cannot be stored in a line-based file: a key that is empty, contains '=' or
    // starts with '[' or ';', or a key or value with a line break or a NUL byte.
    // Setting a key to the value it reads leaves its line as the file has it.
    bool writeString(std::string_view key, std::string_view value);

    // True when a value written as is reads back unchanged by readWholeString: no
    // line break or NUL, no surrounding blanks or quotes.
    static bool readsBackUnchanged(std::string_view value);

    // Writes the changes into the file as it now stands. Every line keeps its own
    // line end; new lines take the file's first one (CRLF in a new file). Fails
    // without touching the file when load() has not succeeded, when the file cannot
    // be read now, or when it would grow past kMaxFileSize. A file whose contents
    // would not change is not written again.
    WriteResult save() const;

    // The file as save() would write it.
    std::string text() const;

    // Test hook: the text of the file of IniFiles without a path, as it stands and to
    // start from; the fuzz target uses it to run without a disk.
    static std::string& memoryFileForTesting();

  private:
    // A key line of this object's section, as the file has it: the first one of its
    // key, which is the one read and rewritten.
    struct Key {
        std::string name; // the file's spelling
        std::string line; // the whole line, without its line end
    };
    struct Written {
        std::string name; // the spelling of the first write
        std::string line; // name=value
    };
    // The file (or the memory file) with the writes applied; `changed` tells whether
    // it differs from the file. Nothing, with `error` set, when it cannot be read.
    std::optional<std::string> render(bool& changed, std::string& error) const;
    // The line of key: written, or as the file has it; nothing when absent.
    std::optional<std::string_view> findKey(std::string_view key) const;

    std::string path_;
    std::string section_;
    std::unordered_map<std::string, Key> keys_;          // by lower-cased name
    std::vector<Written> written_;                       // in the order first written
    std::unordered_map<std::string, std::size_t> index_; // lower-cased name -> written_
    bool loaded_ = false;
    std::string loadError_;
};

} // namespace qv
