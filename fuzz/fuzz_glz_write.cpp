// The GLZ writer over arbitrary records (any bytes as a packed collection
// record): whatever a record holds, the file written must read back with one
// material, and one write/read round settles the text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "exchange/CImportNewGLZ.h"
#include "exchange/frm5Export.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Short inputs are padded with blanks, so the texts of most records stay texts.
    std::vector<std::uint8_t> bytes(kGlassRecordBytes, ' ');
    for (std::size_t i = 0; i < size && i < kGlassRecordBytes; ++i) bytes[i] = data[i];
    std::vector<GlassRecord> glasses(1);
    ReadGlassRecord(bytes.data(), glasses[0]);

    SilentBoxes boxes;
    CImportNewGLZ reader(boxes);
    const std::string text1 = MakeGLZText(glasses, 1, 1, "Monday, January 1, 2024");
    std::vector<GlassRecord> read;
    int count = 0;
    check(reader.ImportBytes(reinterpret_cast<const std::uint8_t*>(text1.data()), text1.size(), read, count));
    check(count == 1);
    const std::string text2 = MakeGLZText(read, 1, 1, "Monday, January 1, 2024");
    std::vector<GlassRecord> again;
    check(reader.ImportBytes(reinterpret_cast<const std::uint8_t*>(text2.data()), text2.size(), again, count));
    check(count == 1);
    check(MakeGLZText(again, 1, 1, "Monday, January 1, 2024") == text2);
    return 0;
}
