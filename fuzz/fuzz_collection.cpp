// The collection file loader over arbitrary files: the first byte picks the
// file (the current collection file or one of the three older ones to be
// converted), the rest is its content. Beyond not crashing: the store holds
// only valid, distinct identities, no more records than the file's whole
// records; from the current file each record packs back to bytes of the file,
// in file order, and the file itself is left as it was (a copy kept of a
// damaged one too); a converted collection reads back as it was written.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "model/GlassDataInternalOld.h"
#include "model/GlassesList.h"

namespace {

std::vector<std::uint8_t> packed(const GlassRecord& glass) {
    std::vector<std::uint8_t> bytes(kGlassRecordBytes);
    WriteGlassRecord(glass, bytes.data());
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const struct {
        const char* name;
        std::size_t recordBytes;
    } files[] = {{kCollectionFileName, kGlassRecordBytes},
                 {kCollectionV2FileName, kGlassRecordV2Bytes},
                 {kCollectionV1FileName, kGlassRecordV1Bytes},
                 {kCollectionOldestFileName, kGlassRecordOldestBytes}};
    const auto& file = files[data[0] % 4];
    const std::uint8_t* content = data + 1;
    const std::size_t length = size - 1;

    // Every file of the last run goes, the copies kept of damaged files too.
    std::error_code ec;
    std::vector<std::filesystem::path> left;
    for (const auto& entry : std::filesystem::directory_iterator(FuzzFolder(), ec)) left.push_back(entry.path());
    for (const auto& path : left) std::filesystem::remove(path, ec);
    {
        std::ofstream out(FuzzFolder() + file.name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(content), static_cast<std::streamsize>(length));
    }

    SilentBoxes boxes;
    StillClock clock;
    GlassesList store(boxes, clock, FuzzFolder());
    store.LoadUserGlasses();

    check(static_cast<std::size_t>(store.Count()) <= length / file.recordBytes);
    check(store.UserKeys().size() == static_cast<std::size_t>(store.Count()));
    for (const GlassRecord& g : store.Records()) check(IsValidGlassIdent(g));

    if (file.recordBytes == kGlassRecordBytes) {
        // A load never changes the file; a copy kept of it is the file as it was.
        const std::vector<std::uint8_t> original(content, content + length);
        check(ReadBytes(FuzzFolder() + file.name) == original);
        const std::string copy = FuzzFolder() + file.name + kDamagedCopySuffix;
        if (std::filesystem::exists(copy, ec)) check(ReadBytes(copy) == original);
        std::size_t at = 0;
        for (const GlassRecord& g : store.Records()) {
            const auto bytes = packed(g);
            while (at + kGlassRecordBytes <= length &&
                   !std::equal(bytes.begin(), bytes.end(), content + at))
                at += kGlassRecordBytes;
            check(at + kGlassRecordBytes <= length);
            at += kGlassRecordBytes;
        }
    } else if (store.Count() > 0) {
        // The conversion wrote the current file: it must load as the same records.
        std::vector<std::vector<std::uint8_t>> before;
        for (const GlassRecord& g : store.Records()) before.push_back(packed(g));
        GlassesList again(boxes, clock, FuzzFolder());
        again.LoadUserGlasses();
        check(static_cast<std::size_t>(again.Count()) == before.size());
        for (std::size_t i = 0; i < before.size(); ++i) check(packed(again.Records()[i]) == before[i]);
    }
    return 0;
}
