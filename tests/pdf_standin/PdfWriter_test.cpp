// PdfWriter against the stand-in engine, which can report any error from any call.

#include "pdf/PdfWriter.h"

#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/pdf_standin/engine/StandInEngine.h"

namespace {

using Lines = std::vector<std::string>;

class PdfWriterTest : public ::testing::Test {
protected:
    void SetUp() override { standin::Reset(); }
    void TearDown() override {
        EXPECT_EQ(standin::HandlerReturns(), 0) << "the error handler returned to the engine";
        EXPECT_EQ(standin::LiveContexts(), 0) << "a context was not deleted";
    }
};

// Name of the most derived class among the twelve that `action` throws.
template <class Action> std::string ThrownClass(Action action) {
    try {
        action();
    } catch (const PdfWriter::MemoryException &) {
        return "Memory";
    } catch (const PdfWriter::IOException &) {
        return "IO";
    } catch (const PdfWriter::RuntimeException &) {
        return "Runtime";
    } catch (const PdfWriter::IndexException &) {
        return "Index";
    } catch (const PdfWriter::TypeException &) {
        return "Type";
    } catch (const PdfWriter::DivisionByZeroException &) {
        return "DivisionByZero";
    } catch (const PdfWriter::OverflowException &) {
        return "Overflow";
    } catch (const PdfWriter::SyntaxException &) {
        return "Syntax";
    } catch (const PdfWriter::ValueException &) {
        return "Value";
    } catch (const PdfWriter::SystemException &) {
        return "System";
    } catch (const PdfWriter::NonfatalException &) {
        return "Nonfatal";
    } catch (const PdfWriter::UnknownException &) {
        return "Unknown";
    } catch (const PdfWriter::Exception &) {
        return "Exception";
    }
    return "nothing";
}

struct TypeCase {
    int type;
    const char *expected;
};

class ErrorTypeTest : public PdfWriterTest, public ::testing::WithParamInterface<TypeCase> {};

TEST_P(ErrorTypeTest, ThrowsTheClassOfTheErrorType) {
    int user = 0;
    {
        PdfWriter writer(nullptr, nullptr, nullptr, &user);
        standin::FailNext("begin_page", GetParam().type, "page out of order");
        EXPECT_EQ(ThrownClass([&] { writer.BeginPage(595, 842); }), GetParam().expected);
    }
}

INSTANTIATE_TEST_SUITE_P(AllTypes, ErrorTypeTest,
                         ::testing::Values(TypeCase{1, "Memory"}, TypeCase{2, "IO"},
                                           TypeCase{3, "Runtime"}, TypeCase{4, "Index"},
                                           TypeCase{5, "Type"}, TypeCase{6, "DivisionByZero"},
                                           TypeCase{7, "Overflow"}, TypeCase{8, "Syntax"},
                                           TypeCase{9, "Value"}, TypeCase{10, "System"},
                                           TypeCase{11, "Nonfatal"}, TypeCase{0, "Unknown"},
                                           TypeCase{-1, "Unknown"}, TypeCase{INT_MIN, "Unknown"},
                                           TypeCase{12, "Unknown"}, TypeCase{INT_MAX, "Unknown"}));

TEST_F(PdfWriterTest, ExceptionCarriesTheMessageAndTheUserPointer) {
    int user = 0;
    PdfWriter writer(nullptr, nullptr, nullptr, &user);
    standin::FailNext("load_image", 2, "cannot open /tmp/missing.jpg");
    try {
        writer.OpenImageFile("jpeg", "/tmp/missing.jpg", "", 1);
        FAIL() << "no exception";
    } catch (const PdfWriter::Exception &e) {
        EXPECT_EQ(e.message, "cannot open /tmp/missing.jpg");
        EXPECT_EQ(e.opaque, &user);
    }
}

TEST_F(PdfWriterTest, NonfatalErrorStillAbortsTheOperation) {
    PdfWriter writer(nullptr, nullptr, nullptr, nullptr);
    standin::FailNext("begin_page", 11, "just a warning");
    EXPECT_THROW(writer.BeginPage(595, 842), PdfWriter::NonfatalException);
    EXPECT_EQ(standin::Log().back(), "begin_page 595 842");
}

TEST_F(PdfWriterTest, LongMessageIsCutTo255Characters) {
    PdfWriter writer(nullptr, nullptr, nullptr, nullptr);
    standin::FailNext("close", 2, std::string(1000, 'x'));
    try {
        writer.Close();
        FAIL() << "no exception";
    } catch (const PdfWriter::IOException &e) {
        EXPECT_EQ(e.message, std::string(255, 'x'));
    }
}

TEST_F(PdfWriterTest, EachOperationRearmsItsJump) {
    PdfWriter writer(nullptr, nullptr, nullptr, nullptr);
    standin::FailNext("set_parameter", 9, "bad value");
    EXPECT_THROW(writer.SetParameter("compatibility", "9.9"), PdfWriter::ValueException);
    EXPECT_EQ(writer.OpenFile("/tmp/out.pdf"), 1);
    standin::FailNext("place_image", 4, "no such image");
    EXPECT_THROW(writer.PlaceImage(3, 0, 0, 0.5f), PdfWriter::IndexException);
    standin::FailNext("end_page", 3, "no page");
    EXPECT_THROW(writer.EndPage(), PdfWriter::RuntimeException);
    writer.CloseImage(3);
    EXPECT_EQ(standin::Log().back(), "close_image 3");
    standin::FailNext("queue_image", 9, "null file name");
    EXPECT_THROW(writer.QueueImage("jpeg", "", "", 1), PdfWriter::ValueException);
    writer.Stop();
    EXPECT_EQ(standin::Log().back(), "stop");
}

TEST_F(PdfWriterTest, ErrorsReachTheWriterWhoseContextReportedThem) {
    int first = 1;
    int second = 2;
    PdfWriter a(nullptr, nullptr, nullptr, &first);
    PdfWriter b(nullptr, nullptr, nullptr, &second);
    standin::FailNext("close_image", 4, "bad handle");
    try {
        b.CloseImage(99);
        FAIL() << "no exception";
    } catch (const PdfWriter::Exception &e) {
        EXPECT_EQ(e.opaque, &second);
    }
    standin::FailNext("close_image", 4, "bad handle");
    try {
        a.CloseImage(99);
        FAIL() << "no exception";
    } catch (const PdfWriter::Exception &e) {
        EXPECT_EQ(e.opaque, &first);
    }
}

TEST_F(PdfWriterTest, PassesArgumentsAndResultsUnchanged) {
    standin::SetImageHandle(-5);
    {
        PdfWriter writer(nullptr, nullptr, nullptr, nullptr);
        writer.SetParameter("compatibility", "1.4");
        EXPECT_EQ(writer.OpenFile("/tmp/a b.pdf"), 1);
        writer.QueueImage("tiff", "/tmp/x.tif", "opt", 3);
        writer.BeginPage(595.5f, 842.25f);
        EXPECT_EQ(writer.OpenImageFile("tiff", "/tmp/x.tif", "opt", 3), -5);
        writer.PlaceImage(-5, 1.5f, -2.0f, 0.2358f);
        writer.CloseImage(-5);
        writer.EndPage();
        writer.Close();
    }
    Lines expected = {"boot",
                      "new",
                      "set_parameter binding=C++",
                      "set_parameter compatibility=1.4",
                      "open_file /tmp/a b.pdf",
                      "queue_image tiff /tmp/x.tif [opt] 3",
                      "begin_page 595.5 842.25",
                      "begin_page done",
                      "load_image tiff /tmp/x.tif [opt] 3",
                      "place_image -5 1.5 -2 " + standin::Number(0.2358f),
                      "close_image -5",
                      "end_page",
                      "close",
                      "delete",
                      "delete done",
                      "shutdown"};
    EXPECT_EQ(standin::Log(), expected);
}

TEST_F(PdfWriterTest, OpenFileReturnsMinusOneWithoutRaisingAndKeepsTheReason) {
    standin::SetOpenResult(-1);
    standin::SetLastError("pdfw_open_file: no such folder");
    PdfWriter writer(nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(writer.OpenFile("/nonexistent/dir/out.pdf"), -1);
    EXPECT_EQ(writer.LastErrorMessage(), "pdfw_open_file: no such folder");
}

TEST_F(PdfWriterTest, ImageFactsPassThroughAndTheirErrorsRaise) {
    standin::SetImageSize(2480, 3508);
    standin::SetImageNotes({{PDFW_NOTE_REPAIRED, "missing end marker"}});
    standin::SetPages("/p/scan.tif", 4);
    PdfWriter writer(nullptr, nullptr, nullptr, nullptr);
    float width = 0;
    float height = 0;
    writer.GetImageSize(7, width, height);
    EXPECT_EQ(width, 2480.0f);
    EXPECT_EQ(height, 3508.0f);
    const std::vector<PdfWriter::ImageNote> notes = writer.GetImageNotes(7);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].kind, PDFW_NOTE_REPAIRED);
    EXPECT_EQ(notes[0].detail, "missing end marker");
    EXPECT_EQ(writer.CountPages("/p/scan.tif"), 4);

    standin::FailNext("get_image_size", 4, "image handle 9 was never opened");
    EXPECT_THROW(writer.GetImageSize(9, width, height), PdfWriter::IndexException);
    standin::FailNext("get_image_note_count", 4, "image handle 9 was never opened");
    EXPECT_THROW(writer.GetImageNotes(9), PdfWriter::IndexException);
    standin::FailNext("count_pages", 2, "cannot open \"/p/gone.tif\"");
    EXPECT_THROW(writer.CountPages("/p/gone.tif"), PdfWriter::IOException);
    EXPECT_EQ(standin::HandlerReturns(), 0);
}

TEST_F(PdfWriterTest, ErrorWhileSettingBindingLeavesTheConstructorAndReleasesAll) {
    standin::FailNext("set_parameter", 8, "unknown parameter binding");
    EXPECT_EQ(ThrownClass([] { PdfWriter writer(nullptr, nullptr, nullptr, nullptr); }), "Syntax");
    Lines expected = {"boot",   "new",         "set_parameter binding=C++",
                      "delete", "delete done", "shutdown"};
    EXPECT_EQ(standin::Log(), expected);
}

TEST_F(PdfWriterTest, ErrorInsideNewLeavesTheConstructor) {
    standin::FailNext("new", 1, "out of memory");
    EXPECT_THROW(PdfWriter(nullptr, nullptr, nullptr, nullptr), PdfWriter::MemoryException);
    EXPECT_EQ(standin::Log().back(), "shutdown");
}

TEST_F(PdfWriterTest, NullContextBecomesMemoryException) {
    standin::SetNewFails(true);
    EXPECT_THROW(PdfWriter(nullptr, nullptr, nullptr, nullptr), PdfWriter::MemoryException);
    Lines expected = {"boot", "new", "shutdown"};
    EXPECT_EQ(standin::Log(), expected);
}

TEST_F(PdfWriterTest, ErrorInsideDeleteIsSwallowedAndShutdownStillRuns) {
    {
        PdfWriter writer(nullptr, nullptr, nullptr, nullptr);
        standin::FailNext("delete", 2, "cannot remove temporary file");
    }
    Lines tail(standin::Log().end() - 2, standin::Log().end());
    EXPECT_EQ(tail, (Lines{"delete", "shutdown"}));
    // The abandoned deletion left the stand-in's context in use; give it back for TearDown.
    standin::Reset();
}

} // namespace
