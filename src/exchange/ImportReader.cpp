#include "exchange/ImportReader.h"

#include "exchange/CImportNewGLZ.h"
#include "exchange/CImportOldLQ.h"
#include "exchange/CImportOldVQ.h"
#include "exchange/CImportOsloGLC.h"
#include "exchange/CImportZemaxAGF.h"
#include "model/FileUtil.h"
#include "platform/Text1252.h"

void ImportedMaterials::clear() {
    glasses.clear();
    fitErrors.clear();
    refitCount = 0;
    skipped.clear();
    errorText.clear();
}

bool IMaterialReader::ImportFile(const std::string& path, ImportedMaterials& result) {
    result.clear();
    const auto file = ReadFileBuffer(path);
    if (!file) return false;
    // The name may become a source, so it is taken in the records' code page.
    return ImportBytes(file->bytes.get(), file->size, Text1252FromUtf8(FileNameOfPath(path), BrokenUtf8::KeepByte),
                       result);
}

std::unique_ptr<IMaterialReader> MakeMaterialReader(int importType, IBoxes& boxes) {
    switch (importType) {
    case kImportGLZ: return std::make_unique<CImportNewGLZ>(boxes);
    case kImportGLA: return std::make_unique<CImportOldLQ>();
    case kImportGLS: return std::make_unique<CImportOldVQ>();
    case kImportGLC: return std::make_unique<CImportOsloGLC>();
    case kImportAGF: return std::make_unique<CImportZemaxAGF>(kOwnCatalogNumber);
    default: return nullptr;
    }
}

std::string FileNameOfPath(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
