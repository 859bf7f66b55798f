#include "core/ips/ipsfile.h"

#include "core/fileio.h"

namespace qv::ips {

PatchFile readPatchFile(const std::string& path, bool requireIpsExtension) {
    PatchFile file;
    if (!fileExists(path)) {
        file.status.result = Result::FileMissing;
    } else if (requireIpsExtension && upperExtension(path) != ".IPS") {
        file.status.result = Result::WrongFormat;
    } else {
        const auto size = readableFileSize(path);
        auto bytes =
            size && *size >= kMinPatchSize ? readWholeFile(path, kMaxPatchFileSize) : std::nullopt;
        if (!bytes || bytes->size() < kMinPatchSize)
            file.status.result = Result::BadFileSize;
        else
            file.bytes = std::move(*bytes);
    }
    return file;
}

} // namespace qv::ips
