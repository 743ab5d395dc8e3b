#include "model/PropertyTable.h"

namespace {

const PropertyTable& theTable() {
    static const PropertyTable table = [] {
        struct Row {
            int row;
            const char* label;
            const char* name;
            const char* format;
        };
        // \xB0 degree, \xB2 superscript two, \xB3 superscript three.
        const Row rows[] = {
            {1, "A -30/+70\xB0" "C [10^-6/K]", "Thermal Expansion Coefficient", "T0.0"},
            {2, "A +20/+300\xB0" "C [10^-6/K]", "Thermal Expansion Coefficient", "T0.0"},
            {3, "Tg [C]", "Transformation Temperature", "T0000"},
            {4, "T10^13.0 [C]", "Upper Annealing Point", "T0000"},
            {5, "T10^7.6 [C]", "Softening Point", "T0.0"},
            {6, "Cp [J/(g.K)]", "Specific Heat Capacity", "T0.000"},
            {7, "l [W/(m.K)]", "Thermal Conductivity", "T0.000"},
            {9, "p [g/cm\xB3]", "Density   [REQUIRED]", "F0.000"},
            {10, "E [10^3 N/mm\xB2]", "Youngs Modulus", "T000"},
            {11, "u ", "Poisson Ratio", "T0.000"},
            {12, "K [10^-6 mm\xB2/N]", "Torsion", "T0.00"},
            {13, "HK", "Knoop Hardness", "T000"},
            {15, "CR", "Climate resistance", "T0"},
            {16, "FR", "Stain resistance", "T0"},
            {17, "SR", "Acid resistance", "T0.0"},
            {18, "AR", "Alkaline resistance", "T0.0"},
            {19, "PR", "Phosphate resistance", "T0.0"},
            {21, "B", "Bubble", "T0"},
            {22, "Status", "R-Recomend, E-Eco, A-Available?, O-Obsolete", "T0"},
            {23, "Price/Volume", "Relative to BK7=10", "T0.0"},
            {24, "Remarks", "", "T"},
        };
        PropertyTable t;
        for (const Row& r : rows) {
            t[r.row][1] = r.label;
            t[r.row][2] = r.name;
            t[r.row][3] = r.format;
        }
        return t;
    }();
    return table;
}

}  // namespace

PropertyTable GetPropertyTable() { return theTable(); }

std::string GetPropertyFormat(int nRow) {
    if (nRow < 1 || nRow > kPropertyRows) return {};
    const std::string& cell = theTable()[static_cast<std::size_t>(nRow)][3];
    return cell.empty() ? std::string() : cell.substr(1);
}
