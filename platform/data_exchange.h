#pragma once

#include <string>

#include "platform/controls.h"

// Dialog data exchange: moves control contents into members (saving) or members into
// controls (loading), one DDX call per control, in the order DoDataExchange makes them.
namespace platform {

class Dialog;

class DataExchange {
  public:
    DataExchange(Dialog& dialog, bool saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(&dialog) {}

    const bool m_bSaveAndValidate;
    Dialog* const m_pDlgWnd;

    DialogWindow& Window() const;
    void PrepareEditCtrl(int id) { lastEditId_ = id; }
    int LastEditCtrl() const { return lastEditId_; }
    void Fail() { failed_ = true; }
    bool Failed() const { return failed_; }

  private:
    int lastEditId_ = 0;
    bool failed_ = false;
};

void DDX_Control(DataExchange* pDX, int id, TreeCtrl& control);
void DDX_Control(DataExchange* pDX, int id, ComboBox& control);
void DDX_Check(DataExchange* pDX, int id, int& value);
void DDX_Text(DataExchange* pDX, int id, std::string& value);
// Loading limits the last exchanged edit box; saving refuses a longer text with a message.
void DDV_MaxChars(DataExchange* pDX, const std::string& value, int maxChars);

}  // namespace platform
