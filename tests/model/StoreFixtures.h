// Records and raw file bytes for the store's tests.
#pragma once

#include <sys/resource.h>

#include <csignal>
#include <cstdint>
#include <cstring>
#include <functional>
#include <latch>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "model/FileUtil.h"
#include "model/GlassRecord.h"
#include "model/GlassesList.h"

inline GlassRecord MakeGlass(const std::string& name, const std::string& source, float density = 2.5f) {
    GlassRecord g;
    InitGlassRecord(g);
    g.definition.name.set(name);
    g.definition.source.set(source);
    g.definition.density = density;
    return g;
}

// A record with something in every block, so a conversion that drops or
// shifts a block shows.
inline GlassRecord FullGlass(const std::string& name, const std::string& source) {
    GlassRecord g = MakeGlass(name, source, 3.75f);
    g.indexDataType = kCoefficients;
    g.reserved = 11;
    g.indexPointCount = 3;
    g.definition.catalogNumber = kOwnCatalogNumber;
    g.definition.glassCode = 517642;
    g.definition.formulaType = kSellmeier;
    g.definition.coefficients[0] = 1.03961212;
    g.definition.coefficients[13] = -2.5e-3;
    g.definition.lowerWavelength = 310;
    g.definition.upperWavelength = 2325;
    g.definition.transWavelength[0] = 310.0f;
    g.definition.transAbsorption[40] = 99.0f;
    g.constants.nd = 1.5168f;
    g.constants.nFp = 1.5224f;
    g.standardAbsorption[40] = 0.125f;
    g.properties.a3070.set("7.1");
    g.properties.price.set("1.0");
    g.properties.reserved = {1, 2, 3, 4};
    g.notes.notes[5].set("sixth note");
    g.notes.referenceTemperature = 20.0f;
    g.measured.indexWavelength[1] = 587.5618;
    g.measured.residual[150] = 1e-6;
    g.measured.transCount = 2;
    g.measured.internalTrans[150] = 42.0f;
    g.sections[kGeneral] = {4, kTrue};
    g.sections[kOther] = {9, kTrue};
    g.lastStored = 45123.5;
    return g;
}

inline std::vector<std::uint8_t> Packed(const GlassRecord& g) {
    std::vector<std::uint8_t> bytes(kGlassRecordBytes);
    WriteGlassRecord(g, bytes.data());
    return bytes;
}

inline std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& bytes, std::size_t from, std::size_t to) {
    return {bytes.begin() + static_cast<long>(from), bytes.begin() + static_cast<long>(to)};
}

inline void Append(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& more) {
    out.insert(out.end(), more.begin(), more.end());
}

// Little-endian pokes at an offset (the test machine is little-endian).
template <class T>
void Put(std::vector<std::uint8_t>& bytes, std::size_t offset, T value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

inline void PutText(std::vector<std::uint8_t>& bytes, std::size_t offset, const std::string& text, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) bytes[offset + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : ' ';
}

// The design program's name lists: a catalogue name record and a supplied
// material record naming name/source.
inline std::vector<std::uint8_t> CatalogueNameBytes(const std::string& name, const std::string& source) {
    std::vector<std::uint8_t> bytes(kCatalogNameRecordBytes, 0);
    PutText(bytes, 0, name, 30);
    PutText(bytes, 32, source, 30);
    return bytes;
}

inline std::vector<std::uint8_t> SuppliedNameBytes(const std::string& name, const std::string& source) {
    DesignGlassRecord rec;
    rec.definition.name.set(name);
    rec.definition.source.set(source);
    std::vector<std::uint8_t> bytes(kDesignGlassRecordBytes);
    WriteDesignGlassRecord(rec, bytes.data());
    return bytes;
}

inline std::vector<std::uint8_t> CollectionBytes(const std::vector<GlassRecord>& glasses) {
    std::vector<std::uint8_t> out;
    for (const GlassRecord& g : glasses) Append(out, Packed(g));
    return out;
}

// While it lives, a write past bytes fails part-way with "File too large",
// like a full disk, also for root (a read-only folder would not stop root).
class FileSizeLimit {
public:
    explicit FileSizeLimit(std::size_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = m_saved;
        small.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = nullptr;
};

// The records of a collection file as written; none when it cannot be read.
inline std::vector<GlassRecord> CollectionFileRecords(const std::string& path) {
    std::vector<GlassRecord> out;
    const auto bytes = ReadWholeFile(path);
    if (!bytes) return out;
    for (std::size_t at = 0; at + kGlassRecordBytes <= bytes->size(); at += kGlassRecordBytes) {
        GlassRecord g;
        ReadGlassRecord(bytes->data() + at, g);
        out.push_back(g);
    }
    return out;
}

// Runs first and second on two threads let go at the same moment, as two
// copies of the program saving at once; their results.
inline std::pair<bool, bool> BothAtOnce(const std::function<bool()>& first, const std::function<bool()>& second) {
    std::latch start(2);
    bool secondResult = false;
    std::thread other([&] {
        start.arrive_and_wait();
        secondResult = second();
    });
    start.arrive_and_wait();
    const bool firstResult = first();
    other.join();
    return {firstResult, secondResult};
}
