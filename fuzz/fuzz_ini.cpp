// The settings file: any bytes load (up to the size limit); loading and saving
// without a change gives the same bytes; keys written read back; other keys keep
// their values; the text reloaded after a save is the saved text.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "core/ini.h"
#include "fuzzsupport.h"

using qvfuzz::check;

namespace {

// Keys the fuzzer writes and probes: a few real ones in mixed case, and the
// fuzzer's own.
const std::vector<std::string> kKeys{"ToolBar", "toolbar", "Recent1", "NESFile1", "A",       "a ",
                                     "[x",      ";c",      "k=v",     "",         "Editor1", "Q"};

void writeFile(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qvfuzz::Input in(data, size);
    // The first byte says how many writes follow the file's text, and whether the file
    // is on disk (one run in eight) or in memory, which reads and renders the same
    // way without the cost of a disk.
    const std::uint8_t first = in.byte();
    const int writes = first % 8;
    const bool onDisk = (first & 0x38) == 0;
    std::vector<std::pair<std::string, std::string>> todo;
    for (int i = 0; i < writes; ++i) {
        const std::uint8_t pick = in.byte();
        std::string key = pick < 200 ? kKeys[pick % kKeys.size()] : in.text(12);
        todo.emplace_back(std::move(key), in.text(40));
    }
    const auto rest = in.rest();
    const std::string file(reinterpret_cast<const char*>(rest.data()), rest.size());

    const std::string path = onDisk ? qvfuzz::scratchDir() + "/qorv.ini" : std::string();
    if (onDisk)
        writeFile(path, file);
    else
        qv::IniFile::memoryFileForTesting() = file;
    qv::IniFile ini(path, "qorv");
    check(ini.load());
    // Nothing written: the text is the file, byte for byte.
    check(ini.text() == file);

    std::vector<std::string> probes = kKeys;
    for (const auto& [key, value] : todo)
        probes.push_back(key);
    // Each probe's value, by its place in `probes`.
    std::vector<std::string> values;
    for (const std::string& k : probes)
        values.push_back(ini.readString(k, "\x01missing"));

    std::map<std::string, std::string> expected; // by lower-cased trimmed key
    const auto norm = [](std::string k) {
        const auto a = k.find_first_not_of(" \t"), b = k.find_last_not_of(" \t");
        k = a == std::string::npos ? std::string() : k.substr(a, b - a + 1);
        for (char& c : k)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return k;
    };
    std::vector<std::size_t> accepted;
    for (std::size_t i = 0; i < todo.size(); ++i) {
        const auto& [key, value] = todo[i];
        if (!ini.writeString(key, value)) continue;
        accepted.push_back(i);
        if (qv::IniFile::readsBackUnchanged(value)) check(ini.readString(key, "\x01") == value);
        expected[norm(key)] = ini.readString(key, "\x01");
    }
    // Keys not written keep their values; written ones keep what they read after
    // their last write.
    for (std::size_t i = 0; i < probes.size(); ++i) {
        const auto it = expected.find(norm(probes[i]));
        std::string now = ini.readString(probes[i], "\x01missing");
        check(it == expected.end() ? now == values[i] : now == it->second);
        values[i] = std::move(now);
    }

    const std::string saved = ini.text();
    if (accepted.size() < todo.size()) {
        // Refused writes change nothing: the accepted ones alone give the same text.
        // (Checked once at the end: a text per write was most of a run.)
        qv::IniFile replay(path, "qorv");
        check(replay.load());
        for (const std::size_t i : accepted)
            check(replay.writeString(todo[i].first, todo[i].second));
        check(replay.text() == saved);
    }
    if (!ini.save().ok) return 0;
    check((onDisk ? readFile(path) : qv::IniFile::memoryFileForTesting()) == saved);
    qv::IniFile again(path, "qorv");
    check(again.load());
    check(again.text() == saved);
    for (std::size_t i = 0; i < probes.size(); ++i)
        check(again.readString(probes[i], "\x01missing") == values[i]);
    return 0;
}
