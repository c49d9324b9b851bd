#include "platform/data_exchange.h"

#include <string>

#include "platform/dialog.h"
#include "platform/win_app.h"

namespace platform {

DialogWindow& DataExchange::Window() const {
    return *m_pDlgWnd->Window();
}

// A control member is attached once, on the first exchange, as the framework subclasses it.
void DDX_Control(DataExchange* pDX, int id, TreeCtrl& control) {
    if (!control.IsAttached()) {
        control.Attach(pDX->Window().Tree(id));
    }
}

void DDX_Control(DataExchange* pDX, int id, ComboBox& control) {
    if (!control.IsAttached()) {
        control.Attach(pDX->Window().Combo(id));
    }
}

void DDX_Check(DataExchange* pDX, int id, int& value) {
    if (pDX->m_bSaveAndValidate) {
        value = pDX->Window().GetCheck(id);
    } else {
        pDX->Window().SetCheck(id, value);
    }
}

void DDX_Text(DataExchange* pDX, int id, std::string& value) {
    pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate) {
        value = pDX->Window().GetItemText(id);
    } else {
        pDX->Window().SetItemText(id, value);
    }
}

void DDV_MaxChars(DataExchange* pDX, const std::string& value, int maxChars) {
    if (!pDX->m_bSaveAndValidate) {
        if (pDX->LastEditCtrl() != 0) {
            pDX->Window().LimitText(pDX->LastEditCtrl(), maxChars);
        }
        return;
    }
    if (static_cast<int>(value.size()) > maxChars) {
        AfxMessageBox("Please enter no more than " + std::to_string(maxChars) + " characters.");
        pDX->Fail();
    }
}

}  // namespace platform
