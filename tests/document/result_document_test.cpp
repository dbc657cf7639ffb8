#include "document/result_document.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vellmora {
namespace {

TEST(CPyxoDoc, SearchLinesGetTheirLineEndAndStopAtTheLimit) {
    CPyxoDoc document("Vellmora1");
    EXPECT_FALSE(document.isModified());
    EXPECT_TRUE(document.addSearchLine("-----[ a.txt ]-----", 3));
    EXPECT_TRUE(document.addSearchLine("hit 1", 3));
    EXPECT_TRUE(document.addSearchLine("hit 2", 3));
    EXPECT_FALSE(document.addSearchLine("hit 3", 3));
    EXPECT_FALSE(document.addSearchLine("Total : 3", 3));
    const CExStringList& results = document.list(ResultKind::Original);
    ASSERT_EQ(results.count(), 3);
    EXPECT_EQ(*results.begin(), "-----[ a.txt ]-----\r\n");
    EXPECT_TRUE(document.isModified());
}

TEST(CPyxoDoc, ALimitOfZeroOrANegativeSettingRefusesOrKeepsEverything) {
    CPyxoDoc document("d");
    EXPECT_FALSE(document.addSearchLine("x", 0));
    // A negative limit in the settings file reads as a huge unsigned one.
    EXPECT_TRUE(document.addSearchLine("x", static_cast<unsigned>(-1)));
}

TEST(CPyxoDoc, ClearEmptiesEveryListAndTheModifiedFlag) {
    CPyxoDoc document("d");
    document.addSearchLine("a", 10);
    document.addSortedLine("b\r\n");
    document.addCollocationLine("c\r\n");
    document.clearResults();
    for (int kind = 0; kind < kResultKinds; ++kind)
        EXPECT_EQ(document.list(static_cast<ResultKind>(kind)).count(), 0);
    EXPECT_FALSE(document.isModified());
    EXPECT_NE(CPyxoDoc("e").id(), document.id());
}

}  // namespace
}  // namespace vellmora

namespace vellmora {
namespace {

struct CollectingSink : SearchLineSink {
    std::vector<std::string> lines;
    void take(std::string_view line) override { lines.emplace_back(line); }
};

TEST(CPyxoDoc, ASinkTakesTheSearchLinesAndTheLimitStillHolds) {
    CPyxoDoc document("d");
    CollectingSink sink;
    document.setSearchLineSink(&sink);
    EXPECT_TRUE(document.addSearchLine("a", 2));
    EXPECT_TRUE(document.addSearchLine("b", 2));
    EXPECT_FALSE(document.addSearchLine("c", 2));
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"a\r\n", "b\r\n"}));
    EXPECT_EQ(document.list(ResultKind::Original).count(), 0);
    EXPECT_EQ(document.searchResultCount(), 2);
    document.setSearchLineSink(nullptr);
    EXPECT_TRUE(document.addSearchLine("d", 1));  // the list itself is empty
}

}  // namespace
}  // namespace vellmora

#include "document/document_save.h"
#include "document/formatted_file.h"
#include "platform/recording_user_interface.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

class DocumentSaveTest : public ::testing::Test {
protected:
    void SetUp() override { m_document.addSearchLine("the cat sat", 10); }

    testing::TempDir m_dir;
    Profile m_profile{m_dir.file("pyxo.ini")};
    RecordingUserInterface m_ui;
    CPyxoDoc m_document{"d"};
};

TEST_F(DocumentSaveTest, TheSaveStepWritesTheRecordedFormThenFallsBackToText) {
    EXPECT_TRUE(m_document.needsNewName(SaveForm::Formatted));
    m_document.recordDisplaySnapshot(m_document.snapshot());
    EXPECT_EQ(m_document.saveForm(), SaveForm::Formatted);
    const std::string path = m_dir.file("r.vm2");
    ASSERT_TRUE(saveDocument(m_document, path, m_profile, m_ui));
    EXPECT_EQ(testing::readFileBytes(path).substr(0, 2), std::string("\x0b\x00", 2));
    EXPECT_EQ(m_document.saveForm(), SaveForm::Text);
    EXPECT_FALSE(m_document.isModified());
    EXPECT_EQ(m_document.filePath(), path);
    // The formatted file is never replaced by text without asking for a name.
    EXPECT_TRUE(m_document.needsNewNameForTextSave());
    EXPECT_FALSE(m_document.needsNewName(SaveForm::Formatted));
}

TEST_F(DocumentSaveTest, SaveToTextWritesTextAndLeavesTheNextSaveFormatted) {
    const std::string path = m_dir.file("r.txt");
    EXPECT_TRUE(m_document.needsNewNameForTextSave());
    ASSERT_TRUE(saveToTextFile(m_document, path, m_profile, m_ui));
    EXPECT_EQ(testing::readFileBytes(path), "the cat sat\r\n");
    EXPECT_EQ(m_document.saveForm(), SaveForm::Formatted);
    EXPECT_FALSE(m_document.needsNewNameForTextSave());
    // Nor is the text file replaced by the formatted form without a new name.
    EXPECT_TRUE(m_document.needsNewName(SaveForm::Formatted));
}

TEST_F(DocumentSaveTest, AnOpenedFormattedFileAsksForANameBeforeATextSave) {
    const std::string path = m_dir.file("r.vm2");
    ASSERT_TRUE(writeFormattedFile(m_document, path, m_ui));
    CPyxoDoc opened("o");
    ASSERT_TRUE(readFormattedFile(path, opened, m_ui, m_profile));
    EXPECT_TRUE(opened.needsNewNameForTextSave());
}

TEST_F(DocumentSaveTest, AFailedSaveKeepsTheDocumentModifiedAndNameless) {
    ASSERT_FALSE(saveDocument(m_document, m_dir.path(), m_profile, m_ui));
    EXPECT_TRUE(m_document.isModified());
    EXPECT_EQ(m_document.filePath(), "");
}

}  // namespace
}  // namespace vellmora
