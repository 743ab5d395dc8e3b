// The reader of the program's own ".GLZ" text files (written by WriteGLZFile).
//
// A file is a header line, then material blocks between start and end
// markers; inside a block, marker lines open sections whose data are read as
// a stream of comma- or line-separated items, as the writer's record lists
// are. Text may come in Windows-1252, UTF-8 behind its byte order mark or
// UTF-16 with any of the three line ends; texts end in the records as
// Windows-1252 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/ImportReader.h"
#include "model/GlassRecord.h"

class IBoxes;
class TextCursor;

class CImportNewGLZ : public IMaterialReader {
public:
    // A file on disk is read through a window of windowBytes (more when one
    // material needs more), so a large backup needs no copy of itself in
    // memory; the records read come out the same whatever the window.
    static constexpr std::size_t kDefaultWindow = std::size_t{4} << 20;
    explicit CImportNewGLZ(IBoxes& boxes, std::size_t windowBytes = kDefaultWindow)
        : m_boxes(boxes), m_window(windowBytes) {}

    // Reads every material block of the file at path. True when the file was
    // read to its end (also with no block, and after a foreign first line,
    // which is reported in a plain box); glasses then holds the count
    // materials read, in file order. False on any read error, with glasses
    // empty and count 0: a failed read keeps none of the materials before it.
    bool ImportFile(const std::string& path, std::vector<GlassRecord>& glasses, int& count);

    // ImportFile over the file's bytes already in memory.
    bool ImportBytes(const std::uint8_t* bytes, std::size_t size, std::vector<GlassRecord>& glasses, int& count);

    // The Import page's calls: the same reads, every material kept as read.
    using IMaterialReader::ImportFile;
    bool ImportBytes(const std::uint8_t* bytes, std::size_t size, const std::string& fileName,
                     ImportedMaterials& result) override;

private:
    bool importText(std::string_view text, std::vector<GlassRecord>& glasses, int& count);
    // The same over a plain file, read a window at a time; most is the most
    // materials it can hold.
    bool importStream(int fd, std::size_t most, std::vector<GlassRecord>& glasses, int& count);
    bool foreignHeader(std::string_view line);
    // Room for most materials in glasses, keeping room it already has.
    static void makeRoom(std::vector<GlassRecord>& glasses, std::size_t most);

    // Reads one block after its start marker into glass (a blank record);
    // ok is False on a read error.
    void ReadMaterialBlock(TextCursor& in, GlassRecord& glass, bool& ok);

    IBoxes& m_boxes;
    std::size_t m_window;
};
