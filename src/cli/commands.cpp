#include "cli/commands.h"

#include <cstdio>
#include <filesystem>
#include <iostream>

#include "core/catalog.h"
#include "core/changereport.h"
#include "core/digest.h"
#include "core/fileio.h"
#include "core/itemtext.h"
#include "core/pathinfo.h"
#include "core/system.h"
#include "core/valueedit.h"

namespace qv::cli {

std::string oneLine(std::string_view message) {
    std::string out;
    for (std::size_t i = 0; i < message.size(); ++i) {
        if (message[i] == '\r' && i + 1 < message.size() && message[i + 1] == '\n') {
            out += ' ';
            ++i;
        } else if (message[i] == '\r' || message[i] == '\n') {
            out += ' ';
        } else {
            out += message[i];
        }
    }
    return out;
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(fsPath(a), fsPath(b), ec);
}

void refuseOutputOver(const std::optional<std::string>& output,
                      std::initializer_list<const std::string*> inputs) {
    if (!output) return;
    for (const std::string* input : inputs)
        if (sameFile(*output, *input))
            throw Failure{Exit::Usage, "-o would replace the input " + *input};
}

FileLock lockTarget(const std::string& path) {
    FileLock lock;
    if (std::string busy; !lock.acquire(path, kLockWait, busy))
        throw Failure{Exit::BadInput, busy + "; nothing was written"};
    return lock;
}

namespace {
// Commands take several files: a refusal names the file, and says what stands there
// when it is not a file at all.
[[noreturn]] void refuseImage(const std::string& path, LoadStatus status) {
    std::string what = notAFile(path);
    if (what.empty()) what = oneLine(loadMessage(status));
    throw Failure{Exit::BadInput, path + ": " + what};
}
} // namespace

std::unique_ptr<RomDocument> loadImage(const std::string& path) {
    auto doc = std::make_unique<RomDocument>();
    const LoadStatus status = doc->load(path);
    if (status != LoadStatus::Ok) refuseImage(path, status);
    return doc;
}

ImageFile readImage(const std::string& path) {
    ImageFile file;
    const LoadStatus status = readGameImage(path, file.bytes);
    if (status != LoadStatus::Ok) refuseImage(path, status);
    file.shift = layoutShift(file.bytes);
    return file;
}

void info(const std::string& file) {
    const auto doc = loadImage(file);
    std::string outOfBounds;
    int outCount = 0, count = 0;
    for (const ItemRow& r : parameterRows()) {
        ++count;
        if (!r.item->read(doc->image(), doc->shift()).outOfBounds) continue;
        ++outCount;
        outOfBounds += outOfBounds.empty() ? " (" : ", ";
        outOfBounds += r.item->control;
    }
    if (!outOfBounds.empty()) outOfBounds += ")";

    char crc[9];
    std::snprintf(crc, sizeof crc, "%08X", static_cast<unsigned>(crc32(doc->fileBytes())));
    std::cout << "File:           " << file << "\n"
              << "Size:           " << doc->sizeText() << "\n"
              << "Trainer:        " << (doc->trainer() ? "yes" : "no") << "\n"
              << "CRC32:          " << crc << "\n"
              << "SHA-1:          " << sha1Hex(doc->fileBytes()) << "\n"
              << "Items:          " << count << "\n"
              << "Out of bounds:  " << outCount << outOfBounds << "\n"
              << "Game:           " << gameStatus(doc->fileBytes()) << "\n";
}

void get(const std::string& file, const std::vector<std::string>& controls) {
    std::string unknown;
    for (const std::string& c : controls)
        if (!findItem(c))
            unknown += (unknown.empty() ? "" : "\n") + ("unknown control \"" + c + "\"");
    if (!unknown.empty()) throw Failure{Exit::BadInput, unknown};

    const auto doc = loadImage(file);
    for (const std::string& c : controls) {
        const Item& item = *findItem(c).item;
        std::cout << c << "=" << valueText(item, doc->image(), doc->shift()) << "\n";
    }
}

void set(const std::string& file, const std::vector<std::string>& assignments,
         const std::optional<std::string>& output) {
    std::vector<std::pair<std::string, std::string>> todo; // control, value text
    for (const std::string& a : assignments) {
        const std::size_t eq = a.find('=');
        if (eq == std::string::npos || eq == 0)
            throw Failure{Exit::Usage, "\"" + a + "\" is not of the form CONTROL=VALUE"};
        todo.emplace_back(a.substr(0, eq), a.substr(eq + 1));
    }

    // From reading to replacing, another of our writers of the same file waits.
    const std::string target = output.value_or(file);
    const FileLock lock = lockTarget(target);
    const auto doc = loadImage(file);
    // Every assignment is checked before any is applied, and every problem is named.
    std::string problems;
    const auto problem = [&](const std::string& text) {
        problems += (problems.empty() ? "" : "\n") + text;
    };
    std::vector<ValueEdit> edits;
    for (std::size_t i = 0; i < todo.size(); ++i) {
        const auto& [control, text] = todo[i];
        for (std::size_t j = 0; j < i; ++j) {
            if (todo[j].first != control) continue;
            problem(control + ": assigned more than once");
            break;
        }
        const Item* item = findItem(control).item;
        if (!item) {
            problem("unknown control \"" + control + "\"");
            continue;
        }
        std::string why;
        if (auto edit = checkValue(*item, text, doc->fileBytes(), why))
            edits.push_back(std::move(*edit));
        else
            problem(control + ": " + why);
    }
    if (!problems.empty()) throw Failure{Exit::BadInput, problems};
    if (const std::string error = doc->apply(edits, "Set"); !error.empty())
        throw Failure{Exit::BadInput, error};
    const WriteResult r = writeFileAtomic(target, doc->fileBytes());
    if (!r.ok) throw Failure{Exit::BadInput, "cannot write " + target + ": " + oneLine(r.error)};
}

} // namespace qv::cli
