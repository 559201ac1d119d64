// The one error mapping, and the text conversion of the ADSI layer.
#include <windows.h>

#include <cderr.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "MapError.h"
#include "WideText.h"

namespace rosterly {
namespace {

TEST(MapErrorTest, SuccessCodesAreOk) {
  EXPECT_TRUE(StatusFromHresult(S_OK).ok());
  EXPECT_TRUE(StatusFromHresult(S_FALSE).ok());
}

TEST(MapErrorTest, FailuresKeepTheCodeAndOneLineOfSystemText) {
  const Status denied = StatusFromHresult(E_ACCESSDENIED);
  EXPECT_FALSE(denied.ok());
  EXPECT_EQ(denied.code(), kErrAccessDenied);
  EXPECT_THAT(denied.description(), ::testing::HasSubstr("denied"));
  EXPECT_EQ(denied.description().find_first_of("\r\n"), std::string::npos);
  EXPECT_NE(denied.description().back(), ' ');
  // Win32 codes wrapped in an HRESULT find the Win32 text.
  EXPECT_EQ(StatusFromHresult(HRESULT_FROM_WIN32(ERROR_BAD_NETPATH)).description(),
            StatusFromHresult(static_cast<HRESULT>(kErrBadNetPath)).description());
  EXPECT_THAT(StatusFromHresult(HRESULT_FROM_WIN32(ERROR_BAD_NETPATH)).description(),
              ::testing::Not(::testing::StartsWith("Error")));
}

TEST(MapErrorTest, UnknownCodesFallBackToTheNumber) {
  EXPECT_EQ(StatusFromHresult(static_cast<HRESULT>(0xA0DEF00Du)).description(), "Error 0xA0DEF00D");
}

// Where the system has no text for a directory error (Wine has none for
// the network management and ADSI codes), a short one of our own stands in.
TEST(MapErrorTest, CommonDirectoryErrorsAlwaysHaveAText) {
  for (const std::uint32_t code : {0x800708ACu, 0x800708ADu, 0x800708BCu, 0x800708BDu, 0x80005000u, 0x80005004u,
                                   0x8000500Du}) {
    const Status status = StatusFromHresult(static_cast<HRESULT>(code));
    EXPECT_EQ(status.code(), code);
    EXPECT_THAT(status.description(), ::testing::Not(::testing::StartsWith("Error 0x"))) << std::hex << code;
    EXPECT_THAT(status.description(), ::testing::Not(::testing::IsEmpty()));
  }
}

TEST(MapErrorTest, Win32CodesKeepTheCodeAndTheSystemsDescription) {
  Status denied = StatusFromWin32(ERROR_ACCESS_DENIED);
  EXPECT_EQ(denied.code(), 0x80070005u);
  EXPECT_FALSE(denied.description().empty());
  EXPECT_NE(denied.description().back(), '\n');
  Status unknown = StatusFromHresult(static_cast<HRESULT>(0x8123ABCDu));
  EXPECT_EQ(unknown.description(), "Error 0x8123ABCD");
  // A failed call that set no error code is still a failure.
  EXPECT_FALSE(StatusFromWin32(ERROR_SUCCESS).ok());
}

// A file dialog that fails is never a Cancel: a name too long for the
// buffer reads as the system's own "too long" failure.
TEST(MapErrorTest, FileDialogFailuresAreFailuresWithText) {
  const Status tooLong = StatusFromDialogError(FNERR_BUFFERTOOSMALL);
  EXPECT_EQ(tooLong.code(), 0x800700CEu);
  EXPECT_EQ(tooLong.description(), StatusFromWin32(ERROR_FILENAME_EXCED_RANGE).description());
  EXPECT_EQ(StatusFromDialogError(FNERR_INVALIDFILENAME).code(), 0x8007007Bu);
  const Status other = StatusFromDialogError(CDERR_MEMALLOCFAILURE);
  EXPECT_FALSE(other.ok());
  EXPECT_THAT(other.description(), ::testing::HasSubstr("0x0009"));
}

TEST(WideTextTest, AnsiTextSurvivesTheRoundTripThroughABstr) {
  const std::string text = "WinNT://CORP/Domain Admins, \"quoted\"";
  BstrOwner wide = BstrFromAnsi(text);
  ASSERT_TRUE(wide.get());
  EXPECT_EQ(SysStringLen(wide.get()), text.size());
  EXPECT_EQ(AnsiFromBstr(wide.get()), text);
  BstrOwner empty = BstrFromAnsi("");
  ASSERT_TRUE(empty.get());
  EXPECT_EQ(SysStringLen(empty.get()), 0u);
  EXPECT_EQ(AnsiFromBstr(nullptr), "");
  // A character the code page has comes back as itself.
  const std::string accented(1, '\xE9');
  if (GetACP() == 1252) {
    EXPECT_EQ(AnsiFromBstr(BstrFromAnsi(accented).get()), accented);
  }
}

}  // namespace
}  // namespace rosterly
