#include "model/PropertyTable.h"

#include <gtest/gtest.h>

TEST(PropertyTableTest, ExactTexts) {
    // Windows-1252: \xB0 degree sign, \xB2 and \xB3 superscript two and three.
    const char* expected[kPropertyRows][kPropertyColumns] = {
        {"A -30/+70\xB0" "C [10^-6/K]", "Thermal Expansion Coefficient", "T0.0"},
        {"A +20/+300\xB0" "C [10^-6/K]", "Thermal Expansion Coefficient", "T0.0"},
        {"Tg [C]", "Transformation Temperature", "T0000"},
        {"T10^13.0 [C]", "Upper Annealing Point", "T0000"},
        {"T10^7.6 [C]", "Softening Point", "T0.0"},
        {"Cp [J/(g.K)]", "Specific Heat Capacity", "T0.000"},
        {"l [W/(m.K)]", "Thermal Conductivity", "T0.000"},
        {"", "", ""},
        {"p [g/cm\xB3]", "Density   [REQUIRED]", "F0.000"},
        {"E [10^3 N/mm\xB2]", "Youngs Modulus", "T000"},
        {"u ", "Poisson Ratio", "T0.000"},
        {"K [10^-6 mm\xB2/N]", "Torsion", "T0.00"},
        {"HK", "Knoop Hardness", "T000"},
        {"", "", ""},
        {"CR", "Climate resistance", "T0"},
        {"FR", "Stain resistance", "T0"},
        {"SR", "Acid resistance", "T0.0"},
        {"AR", "Alkaline resistance", "T0.0"},
        {"PR", "Phosphate resistance", "T0.0"},
        {"", "", ""},
        {"B", "Bubble", "T0"},
        {"Status", "R-Recomend, E-Eco, A-Available?, O-Obsolete", "T0"},
        {"Price/Volume", "Relative to BK7=10", "T0.0"},
        {"Remarks", "", "T"},
    };
    const PropertyTable table = GetPropertyTable();
    for (int r = 1; r <= kPropertyRows; ++r)
        for (int c = 1; c <= kPropertyColumns; ++c)
            EXPECT_EQ(table[r][c], expected[r - 1][c - 1]) << "row " << r << " column " << c;
}

TEST(PropertyTableTest, FormatIsColumnThreeWithoutItsFlag) {
    const std::pair<int, const char*> cases[] = {
        {1, "0.0"}, {3, "0000"}, {9, "0.000"}, {12, "0.00"}, {15, "0"}, {24, ""}, {8, ""}, {14, ""}, {20, ""},
        {0, ""},    {25, ""},    {-1, ""},
    };
    for (auto [row, format] : cases) EXPECT_EQ(GetPropertyFormat(row), format) << row;
}

TEST(PropertyTableTest, EachCallGivesAnIndependentCopy) {
    PropertyTable first = GetPropertyTable();
    EXPECT_EQ(first, GetPropertyTable());
    first[9][3] = "T0";
    first[1][1].clear();
    EXPECT_EQ(GetPropertyTable()[9][3], "F0.000");
    EXPECT_EQ(GetPropertyFormat(9), "0.000");
    EXPECT_FALSE(GetPropertyTable()[1][1].empty());
}
