// SPDX-License-Identifier: GPL-3.0-or-later
// kelvor-cli schematic: the pictures are what the painter draws, the JSON the drawing's
// geometry; bad Datafiles and bad options write nothing.

#include "cli/cli.h"
#include "render/headless_gui.h"
#include "support/temp_folder.h"

#include <QImage>
#include <QString>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <sstream>

namespace kelvor::cli {
namespace {

class SchematicCommandTest : public ::testing::Test {
protected:
    SchematicCommandTest() {
        folder.Write("RC.DAT", "RC Rev. 1 7 Dec 2026\r\n\r\nNodeIn = 1 NodeOut = 2 NodeCom = 3\r\n"
                               "R 1 2 1k\r\nC 2 3 159.15n\r\n");
        folder.Write("BAD.DAT", "RC Rev. 1\r\n\r\nNodeIn = 1 NodeOut = 2 NodeCom = 3\r\nX 1 2\r\n");
        render::EnsureGuiApplication();
    }

    int Run(std::vector<std::string> arguments, std::string* err = nullptr) {
        arguments.insert(arguments.begin(), "schematic");
        for (std::string& argument : arguments) {
            if (!argument.starts_with("--")) {
                argument = (folder / argument).string();
            }
        }
        std::ostringstream out, errors;
        const int status = RunCli(arguments, out, errors);
        if (err != nullptr) {
            *err = errors.str();
        }
        return status;
    }

    testing::TempFolder folder;
};

TEST_F(SchematicCommandTest, WritesEachPictureKindAndTheGeometry) {
    ASSERT_EQ(Run({"RC.DAT", "--out", "rc.svg", "--json", "rc.json", "--nodes"}), 0);
    QXmlStreamReader svg(QByteArray::fromStdString(folder.Read("rc.svg")));
    while (!svg.atEnd()) {
        svg.readNext();
    }
    EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();
    const std::string json = folder.Read("rc.json");
    for (const char* key : {"\"components\"", "\"wires\"", "\"junctions\"", "\"grounds\"",
                            "\"terminals\"", "\"labels\"", "\"name\": \"C1\"", "\"text\": \"2\""}) {
        EXPECT_NE(json.find(key), std::string::npos) << key << "\n" << json;
    }

    ASSERT_EQ(Run({"RC.DAT", "--out", "rc.pdf"}), 0);
    EXPECT_EQ(folder.Read("rc.pdf").substr(0, 5), "%PDF-");

    ASSERT_EQ(Run({"RC.DAT", "--out", "rc.png"}), 0);
    const QImage png(QString::fromStdString((folder / "rc.png").string()));
    ASSERT_FALSE(png.isNull());
    EXPECT_GT(png.width(), png.height()); // a ladder of two parts lies on its side
}

TEST_F(SchematicCommandTest, RefusesBadDatafilesAndOptionsWithoutWriting) {
    std::string err;
    EXPECT_EQ(Run({"BAD.DAT", "--out", "bad.svg"}, &err), 1);
    EXPECT_NE(err.find("Error in Datafile"), std::string::npos) << err;
    EXPECT_EQ(Run({"RC.DAT", "--out", "rc.bmp"}), 2);
    EXPECT_EQ(Run({"RC.DAT"}), 2);
    EXPECT_FALSE(std::filesystem::exists(folder / "bad.svg"));
    EXPECT_FALSE(std::filesystem::exists(folder / "rc.bmp"));
}

} // namespace
} // namespace kelvor::cli
