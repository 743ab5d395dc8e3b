// The marker lines of the ".GLZ" text file, shared by its writer and reader.
#pragma once

inline constexpr const char* kGlzHeaderMark = "Brevane - Kalvenor  - text file";
inline constexpr const char* kGlzHeaderVersion = " V2, ";
inline constexpr const char* kGlzBlockStart = "#-- Material Data Start --";
inline constexpr const char* kGlzGeneral = "#     -- General --";
inline constexpr const char* kGlzDnDt = "#     -- dn/dt--";
inline constexpr const char* kGlzProperties = "#     -- Chem/Mech/Thermal --";
inline constexpr const char* kGlzTransmission = "#     -- Transmission --";
inline constexpr const char* kGlzRefIndex = "#     -- Ref Index --";
inline constexpr const char* kGlzOldIndex = "#     -- Index --";  // read, never written
inline constexpr const char* kGlzMelt = "      -- Melt [optional] --";
inline constexpr const char* kGlzBlockEnd = "#-- Material Data End --";
inline constexpr const char* kGlzBlockGap = " ";
inline constexpr const char* kGlzFileEnd = "EOF";
