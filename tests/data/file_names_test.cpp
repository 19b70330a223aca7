// File names outside ASCII: the program's names are UTF-8 text, and a file
// made under the name spelled in UTF-16 (which every system's library turns
// into its own encoding of names) is the one that the readers open.

#include "data/DataFileKind.h"
#include "data/DelimitedReader.h"
#include "data/FilePath.h"
#include "data/SampleFileReader.h"
#include "data/ScoreRange.h"
#include "matrix/Matrix.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

using namespace talver;

namespace {

namespace fs = std::filesystem;

class FileNamesOutsideAscii : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() / u"talver-\u00FC\u20AC\u6E2C";
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    // The file `name16` (UTF-16) with `text`; returns its path as UTF-8.
    std::string Make(const std::u16string& name16, const std::string& text)
    {
        std::ofstream(folder_ / name16, std::ios::binary) << text;
        return Utf8Name(folder_) + "/" + Utf8Name(fs::path(name16));
    }

    fs::path folder_;
};

TEST_F(FileNamesOutsideAscii, ReadersOpenTheFileNamed)
{
    const std::string plain = Make(u"Ziel-\u00FC.dat", "1 2\n3 4\n5 6\n");
    EXPECT_EQ(plain.substr(plain.size() - 11), "Ziel-\xC3\xBC.dat");
    EXPECT_EQ(Utf8Name(FilePath(plain)), plain);
    EXPECT_TRUE(CheckSampleFileSize(plain, 3, 2).ok);
    MatrixScope scope;
    Matrix* scores = NewMatrix(3, 2);
    const SampleReadResult read = ReadSampleFile(plain, scores);
    ASSERT_TRUE(read.ok) << read.detail;
    EXPECT_EQ((*scores)(2, 1), 6.0);

    const std::string delimited = Make(u"Umfrage-\u20AC.CSV", "q1;q2\n1;2\n3;4\n");
    ASSERT_EQ(KindOfDataFile(delimited), DataFileKind::Delimited);
    DataTable table;
    const DataReadResult readTable = ReadDelimitedFile(delimited, 0, table);
    ASSERT_TRUE(readTable.ok) << readTable.message;
    ASSERT_EQ(table.RowCount(), 2u);
    EXPECT_EQ(table.columns[1].name, "q2");
    EXPECT_EQ(table.Cell(1, 1).text, "4");

    // A folder under such a name is told apart from a file, and a name that
    // is not there is refused as typed.
    fs::create_directory(folder_ / u"Ordner-\u00E9");
    EXPECT_EQ(NonRegularKind(Utf8Name(folder_) + "/Ordner-\xC3\xA9"), "a folder");
    const std::string missing = Utf8Name(folder_) + "/Fehlt-\xC3\xBC.csv";
    EXPECT_EQ(ReadDelimitedFile(missing, 0, table).message, missing + ": no such file. Check its name and folder.");
}

// The readers read in pieces; an error of the system in the middle of the
// reading is not the end of the file.
TEST_F(FileNamesOutsideAscii, ReadingAFolderFailsRatherThanEndingEarly)
{
    const std::string name = Utf8Name(folder_);
    MatrixScope scope;
    const SampleReadResult read = ReadSampleFile(name, NewMatrix(3, 2));
    EXPECT_FALSE(read.ok);
    if (fs::is_directory(folder_)) {
        // Systems that open a folder as a file fail at its first read.
        EXPECT_TRUE(read.detail.rfind("cannot open " + name, 0) == 0 || read.detail.rfind("cannot read " + name, 0) == 0)
            << read.detail;
    }
}

} // namespace
