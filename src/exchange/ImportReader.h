// What the Import page asks of every material file reader, and what a read
// hands back: the materials kept, their refit errors, and every material the
// reader met but could not keep, with the reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/GlassRecord.h"

class IBoxes;

// A material the reader met in the file and did not keep.
struct SkippedMaterial {
    std::string name;    // as the file gives it, trimmed; empty when it has none
    int line = 0;        // the file line where the material starts, from 1
    std::string reason;  // why it was not kept, a short phrase for the user

    bool operator==(const SkippedMaterial&) const = default;
};

// One read's outcome. Every read starts from an empty result; after a False
// read the result holds nothing but, for a file the reader refuses with its
// own explanation, errorText.
struct ImportedMaterials {
    std::vector<GlassRecord> glasses;  // in file order
    // Parallel to glasses: 0 for a material kept as read, else the root-mean-
    // square error of its refit to a Schott formula.
    std::vector<float> fitErrors;
    int refitCount = 0;  // materials refitted, each counted once
    std::vector<SkippedMaterial> skipped;  // in file order
    std::string errorText;  // the explanation of a refused file; empty otherwise

    int count() const { return static_cast<int>(glasses.size()); }
    void clear();
};

// The readers of the Import page, one per file type; each read is made by a
// fresh reader. True when the file was read to its end (also when it held no
// material); False when it could not be read or is not one the reader takes.
class IMaterialReader {
public:
    virtual ~IMaterialReader() = default;
    // Reads the file at path; its name (the part after the last "/" or "\"),
    // turned from the file system's UTF-8 into Windows-1252, is the file name
    // that readers taking the source from it use. False, with result empty,
    // when the file cannot be read.
    virtual bool ImportFile(const std::string& path, ImportedMaterials& result);
    // The same over the file's bytes already in memory, with its file name.
    virtual bool ImportBytes(const std::uint8_t* bytes, std::size_t size, const std::string& fileName,
                             ImportedMaterials& result) = 0;
};

// The Import page's file types, equal to the filter index of its open dialog.
enum ImportType : int { kImportGLZ = 1, kImportGLA = 2, kImportGLS = 3, kImportGLC = 4, kImportAGF = 5 };

// A fresh reader for an import type; nullptr for a type outside 1..5. The
// ".AGF" reader gets the catalogue number the page passes, 8.
std::unique_ptr<IMaterialReader> MakeMaterialReader(int importType, IBoxes& boxes);

// The name part of a path: what follows the last "/" or "\".
std::string FileNameOfPath(const std::string& path);
