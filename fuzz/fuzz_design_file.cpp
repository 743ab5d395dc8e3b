// The update of the design programs' custom material file over arbitrary
// files: the first byte picks the existing-materials mode, whether the
// tolerancer's folder is there, how the file name is spelt and how many
// materials are delivered; the next bytes pick each delivered material's
// identity (one of the file's own, in other case, or a new one); the rest is
// the 3D folder's "USTessaral.dat". Beyond not crashing: the update succeeds;
// the previous file becomes the backup byte for byte; the new file holds the
// file's usable entries in their order, byte for byte but for the trimmed
// name and the zeroed tail, with each delivered material replacing or leaving
// the first entry of its identity, or appended; the tolerancer gets the same
// file and keeps its own previous one as its backup.
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "manage/DesignFileOutput.h"
#include "model/GlassesList.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Entry {
    Bytes definition;  // packed, kGlassDefinitionBytes
    std::string key;
};

Bytes packedDefinition(const GlassDefinition& definition) {
    Bytes bytes(kGlassDefinitionBytes);
    WriteGlassDefinition(definition, bytes.data());
    return bytes;
}

std::string lowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The file's usable entries, read record by record over a blank record.
std::vector<Entry> entriesOf(const std::uint8_t* content, std::size_t length) {
    DesignGlassRecord blankRecord;
    InitDesignFileRecord(blankRecord);
    Bytes blank(kDesignGlassRecordBytes);
    WriteDesignGlassRecord(blankRecord, blank.data());
    std::vector<Entry> entries;
    for (std::size_t at = 0; at < length; at += kDesignGlassRecordBytes) {
        Bytes raw = blank;
        std::memcpy(raw.data(), content + at, std::min(kDesignGlassRecordBytes, length - at));
        const std::string name = TrimBlanks(std::string_view(reinterpret_cast<const char*>(raw.data()), 30));
        if (name.empty() || name.find('\0') != std::string::npos) continue;
        std::memset(raw.data(), ' ', 30);
        std::memcpy(raw.data(), name.data(), name.size());
        const std::string source(reinterpret_cast<const char*>(raw.data()) + 32, 30);
        entries.push_back({Bytes(raw.begin(), raw.begin() + kGlassDefinitionBytes), MakeGlassKey(name, source)});
    }
    return entries;
}

Bytes fileOf(const std::vector<Entry>& entries) {
    Bytes bytes;
    for (const Entry& e : entries) {
        bytes.insert(bytes.end(), e.definition.begin(), e.definition.end());
        bytes.insert(bytes.end(), kDesignGlassRecordBytes - kGlassDefinitionBytes, 0);
    }
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const ExistingMaterials mode = (data[0] & 1) ? kLeaveExisting : kOverwriteExisting;
    const bool withTolerancer = data[0] & 2;
    const std::string fileName = (data[0] & 4) ? "ustessaral.DAT" : kDesignFileName;
    const std::size_t picks = std::min<std::size_t>((data[0] >> 3) & 3, size - 1);
    const std::uint8_t* content = data + 1 + picks;
    const std::size_t length = size - 1 - picks;

    const std::string design = FreshFolder("design");
    const std::string tolerancer = withTolerancer ? FreshFolder("tolerancer") : FuzzFolder() + "no-tolerancer/";
    WriteBytes(design + fileName, content, length);
    const std::uint8_t oldBackup[] = "an older backup";
    WriteBytes(design + kDesignBackupName, oldBackup, sizeof oldBackup);
    const std::uint8_t tolerancerFile[] = "the tolerancer's own file";
    if (withTolerancer) WriteBytes(tolerancer + kDesignFileName, tolerancerFile, sizeof tolerancerFile);

    std::vector<Entry> expected = entriesOf(content, length);
    const std::size_t inFile = expected.size();
    std::vector<GlassRecord> delivered;
    GlassKeySet deliveredKeys;
    for (std::size_t i = 0; i < picks; ++i) {
        const std::uint8_t pick = data[1 + i];
        GlassRecord glass;
        InitGlassRecord(glass);
        glass.definition.formulaType = 2;
        glass.definition.coefficients[0] = 1.0 + pick;
        if ((pick & 0x80) && inFile > 0) {  // one of the file's own, in other case
            const Entry& e = expected[(pick & 0x7F) % inFile];
            glass.definition.name.set(lowerAscii(std::string(reinterpret_cast<const char*>(e.definition.data()), 30)));
            glass.definition.source.set(
                " " + lowerAscii(std::string(reinterpret_cast<const char*>(e.definition.data()) + 32, 30)));
        } else {
            glass.definition.name.set("FUZZ GLASS " + std::to_string(pick & 3));
            glass.definition.source.set("FUZZ");
        }
        // Materials come from the collection: valid identities, each once.
        if (!IsValidGlassIdent(glass)) continue;
        if (!deliveredKeys.insert(MakeGlassKey(glass.definition.name.str(), glass.definition.source.str())).second)
            continue;
        delivered.push_back(glass);
    }

    for (const GlassRecord& glass : delivered) {
        const std::string key = MakeGlassKey(glass.definition.name.str(), glass.definition.source.str());
        std::size_t j = 0;
        while (j < inFile && expected[j].key != key) ++j;
        if (j == inFile) expected.push_back({packedDefinition(glass.definition), key});
        else if (mode == kOverwriteExisting) expected[j].definition = packedDefinition(glass.definition);
    }

    SilentBoxes boxes;
    check(UpdateDesignFiles(design, tolerancer, delivered, mode, boxes));

    const Bytes previous(content, content + length);
    check(ReadBytes(design + kDesignBackupName) == previous);
    const Bytes written = fileOf(expected);
    const std::string designFile = design + fileName;
    check(expected.empty() ? !std::filesystem::exists(designFile) : ReadBytes(designFile) == written);
    if (withTolerancer) {
        check(ReadBytes(tolerancer + kDesignBackupName) == Bytes(tolerancerFile, tolerancerFile + sizeof tolerancerFile));
        check(expected.empty() ? !std::filesystem::exists(tolerancer + kDesignFileName)
                               : ReadBytes(tolerancer + kDesignFileName) == written);
    }
    const auto again = ReadDesignFile(design);
    check(again && again->size() == expected.size());
    return 0;
}
