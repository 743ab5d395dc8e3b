// The three sibling programs installed in temporary folders, each with its
// executable, the catalogue program with an empty database; the setup
// module's folders point at them.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "manage/CatalogueDatabase.h"
#include "shell/Bas1Setup.h"
#include "support/TestFolder.h"

class SiblingFolders {
protected:
    void installSiblings() {
        ResetSetupPaths();
        touch(lqp.file("Lumivar3D.EXE"));
        touch(tol.file("LumivarDazirireraVI.EXE"));
        touch(vq.file("VitrarchQX.EXE"));
        ASSERT_TRUE(SetPathLQP(lqp.path()) && SetPathLQTol(tol.path()) && SetPathVQ(vq.path()));
        ASSERT_TRUE(CreateCatalogueDatabase(dbPath()));
    }
    static void touch(const std::string& path) { std::ofstream(path) << "MZ"; }
    std::string dbPath() const { return vq.file(kCatalogueFileName); }

    TestFolder lqp, tol, vq;  // the 3D design program, the tolerancer, the catalogue program
};
