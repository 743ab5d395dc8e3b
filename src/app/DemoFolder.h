// The demo: a program folder holding a small collection of glasses made from
// published catalogue data, beside stand-ins for the sibling programs'
// folders (the design program's name files, an empty catalogue database),
// and the settings that point the program at them with the first run
// already over. Used by the
// kalvenor-demo tool and by tests that need a program folder to start on.
#pragma once

#include <string>
#include <vector>

#include "model/GlassRecord.h"

class IClock;
class ISettings;

struct DemoLayout {
    std::string root;        // each folder ends in '/'
    std::string program;     // KALVENOR_HOME of the demo
    std::string catalogue;   // the catalogue program, with its empty database
    std::string design3D;    // the 3D design program, with its name files
    std::string tolerancer;
};
DemoLayout DemoFolders(const std::string& root);

// A glass of the demo: Sellmeier coefficients as the maker publishes them
// (C in µm²), with the nd and vd of the maker's data sheet.
struct PublishedGlass {
    const char* name;
    const char* source;
    double b1, b2, b3, c1, c2, c3;
    int lowerNm, upperNm;
    float density;  // g/cm³
    double nd, vd;  // published
};
const std::vector<PublishedGlass>& DemoCatalogue();
// The catalogue database's glasses: parents for melt glasses.
const std::vector<PublishedGlass>& DemoCatalogueParents();

// A complete collection record for the glass, stamped with the clock's date:
// formula, range, dispersion constants and glass code, every section ready.
GlassRecord MakeDemoGlass(const PublishedGlass& glass, const IClock& clock);

// Adds the parents to the catalogue database at path as the catalogue's own
// rows (not this program's), in one transaction.
bool WriteDemoParents(const std::string& path, const IClock& clock, std::string& error);

// Makes the folders and files below root and writes the settings. Refuses
// (False, error says why) when root already holds a demo collection.
bool MakeDemo(const std::string& root, ISettings& settings, const IClock& clock, std::string& error);
