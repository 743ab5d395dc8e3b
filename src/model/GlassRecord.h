// The material record: one optical glass, copied whole between every part of
// the program, and its packed little-endian file forms.
//
// The structs are plain values. Their members are lowerCamel without the m_
// prefix because they are public record fields, not class state. Arrays that
// the algorithms count from 1 (points, pairs) are OneBased; the 41-entry
// tables of the standard wavelengths are zero-based, entry i at wavelength i.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "model/FixedText.h"

// Flags are 16-bit integers with True = -1.
constexpr std::int16_t kTrue = -1;
constexpr std::int16_t kFalse = 0;

constexpr int kMaxIndexPoints = 150;
constexpr int kMaxTransPoints = 150;
constexpr int kStandardTransCount = 41;  // entries 0..40
constexpr int kMaxMeltPairs = 20;
constexpr int kCoefficientSlots = 14;  // slots 0..13
constexpr double kEmptyAbsorption = 99.0;
constexpr std::int16_t kOwnCatalogNumber = 8;  // materials made by this program

enum IndexDataTypeCode : std::int16_t { kIndexData = 0, kCoefficients = 1 };
enum TransDataTypeCode : std::int16_t {
    kTotalTransmission = 0,
    kInternalTransmission = 1,
    kAbsorptionCoefficient = 2,
    kNoTransData = 3
};
enum DnDtTypeCode : std::int16_t { kNoDnDt = 0, kSimpleDnDt = 1, kSchottDnDt = 2 };
enum FormulaTypeCode : std::int16_t {
    kSchott = 1,
    kSellmeier = 2,
    kSchottPlus = 3,
    kCauchy = 4,
    kNoFormula = 5,
    kSellmeierPlus = 6,
    kConrady = 7,
    kHerzberger = 8
};
// Tab order of the section status pairs.
enum SectionIndex : int { kGeneral = 0, kIndex = 1, kTrans = 2, kDnDt = 3, kOther = 4 };

struct GlassDefinition {
    FixedText<30> name;
    std::int16_t catalogNumber = 0;
    FixedText<30> source;
    std::int32_t glassCode = 0;
    float density = 0;
    std::int16_t formulaType = 0;
    std::array<double, kCoefficientSlots> coefficients{};
    std::int16_t lowerWavelength = 0;  // nm
    std::int16_t upperWavelength = 0;  // nm
    std::array<float, kStandardTransCount> transWavelength{};  // nm, first points, at most 41
    std::array<float, kStandardTransCount> transAbsorption{};  // 1/mm, 99 = empty

    bool operator==(const GlassDefinition&) const = default;
};

struct DispersionConstants {
    float nd = 0;
    float vd = 0;
    float nFnC = 0;    // nF - nC
    float ne = 0;
    float ve = 0;
    float nFpnCp = 0;  // nF' - nC'
    float pCs = 0;
    float pdC = 0;
    float pgF = 0;
    float nC = 0;
    float nF = 0;
    float nCp = 0;     // nC'
    float nFp = 0;     // nF'

    bool operator==(const DispersionConstants&) const = default;
};

struct GlassProperties {
    FixedText<15> a3070;
    FixedText<15> a20300;
    FixedText<15> tg;
    FixedText<15> t1013;
    FixedText<15> t1076;
    FixedText<15> cp;
    FixedText<15> lambda;
    FixedText<15> eMod;
    FixedText<15> poisson;
    FixedText<15> torsion;
    FixedText<15> knoop;
    FixedText<5> cr;
    FixedText<5> fr;
    FixedText<9> sr;
    FixedText<6> ar;
    FixedText<15> pr;
    FixedText<120> remark;
    FixedText<6> cc;
    std::array<std::uint8_t, 4> reserved{};  // kept byte for byte
    FixedText<4> bubble;
    FixedText<4> status;
    FixedText<15> price;

    bool operator==(const GlassProperties&) const = default;
};

struct NotesAndDnDt {
    std::array<FixedText<120>, 6> notes;
    float expansion = 0;
    std::int16_t dnDtType = 0;
    float dnDtSimple = 0;
    float d0 = 0, d1 = 0, d2 = 0, e0 = 0, e1 = 0, lambdaTK = 0;
    float referenceTemperature = 0;

    bool operator==(const NotesAndDnDt&) const = default;
};

struct MeasuredData {
    OneBased<double, kMaxIndexPoints> indexWavelength;    // nm
    OneBased<double, kMaxIndexPoints> indexWavelengthUm;  // nm * 0.001
    OneBased<float, kMaxIndexPoints> weight;              // 0..1
    OneBased<double, kMaxIndexPoints> index;
    OneBased<double, kMaxIndexPoints> indexSquared;
    OneBased<double, kMaxIndexPoints> fittedIndex;
    OneBased<double, kMaxIndexPoints> residual;
    double sumOfSquares = 0;
    std::int16_t transDataType = 0;
    std::int16_t transCount = 0;
    float thickness = 0;  // mm
    OneBased<float, kMaxTransPoints> transWavelength;     // nm
    OneBased<float, kMaxTransPoints> absorption;          // 1/mm
    OneBased<float, kMaxTransPoints> totalTrans;          // percent
    OneBased<float, kMaxTransPoints> internalTrans;       // percent

    bool operator==(const MeasuredData&) const = default;
};

struct MeltBlock {
    std::int16_t meltFlag = 0;
    FixedText<30> reserved;
    FixedText<30> parentName;
    FixedText<30> parentSource;
    FixedText<10> meltCode;
    std::int16_t pairCount = 0;
    OneBased<float, kMaxMeltPairs> pairWavelength;  // nm, descending
    OneBased<double, kMaxMeltPairs> pairIndex;
    std::int16_t secondCount = 0;
    OneBased<OneBased<double, kMaxMeltPairs>, 3> secondTable;  // [column 1..3][row 1..20]

    bool operator==(const MeltBlock&) const = default;
};

struct CatalogFlags {
    std::int16_t statusECO = 0;
    std::int16_t statusMold = 0;
    std::int16_t statusILine = 0;
    std::int16_t reserved1 = 0;
    std::int16_t reserved2 = 0;
    std::int16_t statusMelt = 0;  // as last read from the catalogue database
    std::int16_t abrasion = 0;
    std::array<std::uint8_t, 18> reserved3{};
    double dataDate = 0;

    bool operator==(const CatalogFlags&) const = default;
};

struct SectionStatus {
    std::int16_t editCount = 0;
    std::int16_t ready = 0;  // flag

    bool operator==(const SectionStatus&) const = default;
};

struct GlassRecord {
    std::int16_t indexDataType = 0;
    std::int16_t reserved = 0;
    std::int16_t indexPointCount = 0;
    GlassDefinition definition;
    DispersionConstants constants;
    std::array<float, kStandardTransCount> standardAbsorption{};
    GlassProperties properties;
    NotesAndDnDt notes;
    MeasuredData measured;
    MeltBlock melt;
    CatalogFlags catalogFlags;
    std::array<SectionStatus, 5> sections;
    double lastStored = 0;  // days since 30 December 1899

    bool operator==(const GlassRecord&) const = default;
};

// The design programs' material file record: the packed definition and 38
// bytes this program does not use.
struct DesignGlassRecord {
    GlassDefinition definition;
    std::array<std::uint8_t, 38> unused{};

    bool operator==(const DesignGlassRecord&) const = default;
};

// Overwrites glass with the blank record: everything 0, texts blank, and the
// dn/dt section ready.
void InitGlassRecord(GlassRecord& glass);

// What a record must hold to be taken from the collection file as a
// material: every flag 0 or -1 (the melt flag, the catalogue's ECO, mould,
// i-line and melt flags, the five ready flags) and every count within its
// array (index and transmission points 0..150, melt pairs and second-table
// rows 0..20). Empty when the record is sound, else what is wrong
// ("melt flag 7"). The type codes are not checked: the .GLZ and catalogue
// readers carry any number there, so sound files hold such records.
std::string GlassRecordFault(const GlassRecord& glass);
// Makes a record pass GlassRecordFault without changing what it means: a
// flag other than 0 becomes -1 (every reader takes non-zero as true) and a
// count outside its array is cut to it (no reader looks past the array).
void MakeGlassRecordSound(GlassRecord& glass);

// File forms.
constexpr std::size_t kGlassDefinitionBytes = 516;
constexpr std::size_t kGlassRecordBytes = 12964;
constexpr std::size_t kDesignGlassRecordBytes = 554;

// `out` must hold the record's size in bytes.
void WriteGlassDefinition(const GlassDefinition& def, std::uint8_t* out);
void ReadGlassDefinition(const std::uint8_t* in, GlassDefinition& def);
void WriteGlassRecord(const GlassRecord& glass, std::uint8_t* out);
void ReadGlassRecord(const std::uint8_t* in, GlassRecord& glass);
void WriteDesignGlassRecord(const DesignGlassRecord& rec, std::uint8_t* out);
void ReadDesignGlassRecord(const std::uint8_t* in, DesignGlassRecord& rec);

// The blocks after the definition, for the older collection layouts that
// hold them at other offsets. Each returns the number of bytes it took.
std::size_t ReadDispersionConstants(const std::uint8_t* in, DispersionConstants& c);
std::size_t ReadGlassProperties(const std::uint8_t* in, GlassProperties& p);
std::size_t ReadNotesAndDnDt(const std::uint8_t* in, NotesAndDnDt& n);
std::size_t ReadMeasuredData(const std::uint8_t* in, MeasuredData& m);
std::size_t ReadSectionStatus(const std::uint8_t* in, std::array<SectionStatus, 5>& s);
