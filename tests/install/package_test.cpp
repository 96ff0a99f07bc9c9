// The Debian package, made by CPack from this build: its name, its fields, the games layout
// it installs, a stripped executable, and lintian's verdict.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "tests/install/install_files.h"

namespace {

// The package the package stage made in the build tree.
class DebianPackage : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string arch;
        install::run("dpkg --print-architecture", arch);
        deb_ = std::string(VORLAXIS_STAGE_DIR "/package/vorlaxis_" VORLAXIS_VERSION "_") +
               arch.substr(0, arch.find('\n')) + ".deb";
    }

    void SetUp() override {
        ASSERT_TRUE(install::fs::exists(deb_)) << "the package stage made no " << deb_;
    }

    static std::string field(const std::string& name) {
        std::string value;
        install::run("dpkg-deb -f " + deb_ + " " + name, value);
        return value;
    }

    static std::string deb_;
};

std::string DebianPackage::deb_;

TEST_F(DebianPackage, IsAGameWithItsLibrariesAndFontAsDependenciesAndAnExtendedDescription) {
    EXPECT_EQ(field("Package"), "vorlaxis\n");
    EXPECT_EQ(field("Version"), VORLAXIS_VERSION "\n");
    EXPECT_EQ(field("Section"), "games\n");
    const std::string depends = field("Depends");
    for (const char* package :
         {"libsdl1.2debian", "libsdl-mixer1.2", "libx11-6", "libv4l-0", "fonts-dejavu-core"})
        EXPECT_NE(depends.find(package), std::string::npos)
            << package << " missing from " << depends;
    const std::string description = field("Description");
    EXPECT_GE(std::count(description.begin(), description.end(), '\n'), 4) << description;
}

TEST_F(DebianPackage, LaysTheGameOutAsDebianGamesDo) {
    std::string listing;
    ASSERT_EQ(install::run("dpkg-deb -c " + deb_, listing), 0) << listing;
    std::vector<std::string> wanted = {"usr/games/vorlaxis",
                                       "usr/share/applications/vorlaxis.desktop",
                                       "usr/share/metainfo/org.example.vorlaxis.metainfo.xml",
                                       "usr/share/icons/hicolor/48x48/apps/vorlaxis.png",
                                       "usr/share/icons/hicolor/128x128/apps/vorlaxis.png",
                                       "usr/share/icons/hicolor/256x256/apps/vorlaxis.png",
                                       "usr/share/man/man6/vorlaxis.6.gz",
                                       "usr/share/doc/vorlaxis/copyright",
                                       "usr/share/doc/vorlaxis/changelog.gz",
                                       "usr/share/doc/vorlaxis/README.md"};
    for (const std::string& name : install::dataFiles())
        wanted.push_back("usr/share/games/vorlaxis/" + name);
    for (const std::string& path : wanted)
        EXPECT_NE(listing.find(" ./" + path + "\n"), std::string::npos) << path << " not in\n"
                                                                        << listing;
    EXPECT_EQ(listing.find("./usr/bin/"), std::string::npos) << listing;
    EXPECT_EQ(listing.find("./usr/share/vorlaxis/"), std::string::npos) << listing;
}

TEST_F(DebianPackage, ShipsAStrippedExecutable) {
    testsupport::ScratchFolder folder("package");
    const std::string executable = folder.path() + "/vorlaxis";
    std::string output;
    ASSERT_EQ(install::run("dpkg-deb --fsys-tarfile " + deb_ +
                               " | tar -xO ./usr/games/vorlaxis > " + executable,
                           output),
              0)
        << output;
    install::run("file -b " + executable, output);
    EXPECT_NE(output.find(", stripped"), std::string::npos) << output;
}

TEST_F(DebianPackage, LintianFindsNoErrorsOrWarnings) {
    std::string report;
    install::run("lintian --allow-root " + deb_, report);
    std::istringstream lines(report);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_NE(line.rfind("E: ", 0), 0u) << line;
        EXPECT_NE(line.rfind("W: ", 0), 0u) << line;
    }
}

}  // namespace
