#include "analysis/dialogs/CalculatorCommands.h"

#include <QAction>

#include "analysis/Calculator.h"
#include "analysis/ExpressionEvaluator.h"
#include "analysis/ExpressionLibrary.h"
#include "analysis/dialogs/ExpressionDialog.h"
#include "analysis/dialogs/KovCalcDialog.h"
#include "app/MainWindow.h"
#include "platform/Strings.h"

namespace kov {

namespace {

// The expression library of the whole run (it is reset after every Do).
ExpressionLibrary& RunExpressionLibrary() {
    static ExpressionLibrary library;
    return library;
}

void KovCalc(CMainFrame& frame) {
    // The command is disabled on an empty stack; a shortcut that slips
    // through still gets an answer.
    if (frame.stack().empty()) {
        frame.ui().MessageBox(str::kNoItemsForOperation, str::kShortProductName, Icon::Warning);
        return;
    }
    {
        CKovCalcDialog dialog(frame.stack(), frame.ui(), RunCalculatorRecords(), &frame);
        dialog.exec();
    }
    frame.UpdateInterfaceFlags();
}

void Expression(CMainFrame& frame) {
    {
        CExpressionDlg dialog(frame.stack(), frame.ui(), RunExpressionSettings(),
                              RunExpressionLibrary(), &frame);
        dialog.exec();
    }
    frame.UpdateInterfaceFlags();
}

}  // namespace

void InstallCalculatorCommands(CMainFrame& frame) {
    if (QAction* calc = frame.Command(kCmdKovCalc)) {
        QObject::connect(calc, &QAction::triggered, &frame, [&frame] { KovCalc(frame); });
        QObject::connect(&frame, &CMainFrame::interfaceFlagsChanged, calc,
                         [calc](bool, bool stackNotEmpty) { calc->setEnabled(stackNotEmpty); });
        calc->setEnabled(frame.stackNotEmpty());
    }
    if (QAction* expression = frame.Command(kCmdExpression)) {
        QObject::connect(expression, &QAction::triggered, &frame, [&frame] { Expression(frame); });
        expression->setEnabled(true);
    }
}

}  // namespace kov
