// The five message-box exports in-process, with the library's box seam recording what each
// call would show and answering as the user would.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library_in_process.h"
#include "seam_box_recorder.h"
#include "stand_in_host.h"
#include "system_services/host/host_interface.h"
#include "system_services/dialogs/message_dialogs.h"

using namespace rxsystem;

namespace {

using BoxExport = int32_t(__stdcall*)(const HostContext*, int32_t, int32_t, const char*, const char*);

struct Family {
  const char* name;
  BoxExport call;
  UINT icon;
} const kFamily[] = {
    {"SysMessage", SysMessage, 0},
    {"SysInfoMessage", SysInfoMessage, MB_ICONINFORMATION},
    {"SysWarningMessage", SysWarningMessage, MB_ICONEXCLAMATION},
    {"SysErrorMessage", SysErrorMessage, MB_ICONHAND},
    {"SysQuestionMessage", SysQuestionMessage, MB_ICONQUESTION},
};

class MessageBoxes : public rxsystem_tests::LibraryInProcess {
 protected:
  testing_support::SeamBoxRecorder recorder;
  HostContext context = Context();
};

TEST_F(MessageBoxes, ButtonsDefaultAndAnswers) {
  struct Case {
    int32_t buttonType;
    int32_t defaultButton;
    int answer;  // what the platform's box returns
    UINT flags;  // without the icon
    int32_t result;
  } cases[] = {
      {0, 0, IDOK, MB_OK, 1},
      {0, 0, 0, MB_OK, 1},  // even a box that could not be shown
      {1, 1, IDOK, MB_OKCANCEL, 1},
      {1, 2, IDCANCEL, MB_OKCANCEL | MB_DEFBUTTON2, 2},
      {2, 0, IDYES, MB_YESNO, 1},
      // 5
      {2, 2, IDNO, MB_YESNO | MB_DEFBUTTON2, 2},
      {3, 3, IDYES, MB_YESNOCANCEL | MB_DEFBUTTON3, 1},
      {3, 3, IDNO, MB_YESNOCANCEL | MB_DEFBUTTON3, 2},
      {3, 3, IDCANCEL, MB_YESNOCANCEL | MB_DEFBUTTON3, 3},
      {3, 4, IDCANCEL, MB_YESNOCANCEL, 3},
      // 10
      {4, 1, IDRETRY, MB_RETRYCANCEL, 1},
      {4, -2, IDCANCEL, MB_RETRYCANCEL, 2},
  };
  for (const Family& f : kFamily) {
    int row = 0;
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(f.name) + " row " + std::to_string(row++));
      recorder.boxes.clear();
      recorder.answer = c.answer;
      EXPECT_EQ(f.call(&context, c.buttonType, c.defaultButton, "Title", "Message"), c.result);
      ASSERT_EQ(recorder.boxes.size(), 1u);
      EXPECT_EQ(recorder.boxes[0].flags, c.flags | f.icon);
      EXPECT_EQ(recorder.boxes[0].owner, window.Handle()) << "the host window owns the author's box";
      EXPECT_EQ(recorder.boxes[0].caption, "Title");
      EXPECT_EQ(recorder.boxes[0].text, "Message");
      EXPECT_EQ(LastHostWindow, window.Handle());
    }
  }
}

TEST_F(MessageBoxes, AbsentTextsShowEmpty) {
  SysInfoMessage(&context, 0, 0, nullptr, nullptr);
  ASSERT_EQ(recorder.boxes.size(), 1u);
  EXPECT_EQ(recorder.boxes[0].caption, "");
  EXPECT_EQ(recorder.boxes[0].text, "");
}

TEST_F(MessageBoxes, InvalidButtonTypeIsReported) {
  for (int32_t type : {-1, 5, 0x7FFFFFFF}) {
    for (const Family& f : kFamily) {
      SCOPED_TRACE(std::string(f.name) + " type " + std::to_string(type));
      recorder.boxes.clear();
      store.Erase("TLHideErrors");
      EXPECT_EQ(f.call(&context, type, 0, "Title", "Message"), -1);
      ASSERT_EQ(recorder.boxes.size(), 1u) << "the error box only";
      EXPECT_EQ(recorder.boxes[0].text, "Missing or invalid parameter passed to function.");
      EXPECT_EQ(recorder.boxes[0].caption, "RXSystem UCD Error");

      recorder.boxes.clear();
      store.Set("TLHideErrors", 1);
      EXPECT_EQ(f.call(&context, type, 0, "Title", "Message"), -1);
      EXPECT_TRUE(recorder.boxes.empty());
      EXPECT_EQ(store.Text("TLLastError"), "Missing or invalid parameter passed to function.");
      store.Erase("TLLastError");
    }
  }
}

}  // namespace
