// The window's commands: link buttons, the site search and its box, the
// update-log toggle, and the hide and close labels.
#include "monitor/controls/labelcontrol.h"
#include "monitor/form1.h"
#include "monitor/links.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace monitor {

void Form1::wireCommands() {
    auto onClick = [this](const char* name, auto handler) {
        if (auto* b = controls_.find<QPushButton>(name))
            connect(b, &QPushButton::clicked, this, handler);
    };
    onClick("Command1", [this] { Command1_Click(); });
    onClick("Command2", [this] { Command2_Click(); });
    onClick("Command8", [this] { Command8_Click(); });
    for (const LinkTarget& link : linkTable(program_.sites)) {
        const QString control = link.control;
        if (auto* b = controls_.find<QPushButton>(control))
            connect(b, &QPushButton::clicked, this, [this, control] { OpenLink(control); });
    }
    if (auto* hide = controls_.find<LabelControl>("Label2"))
        connect(hide, &LabelControl::clicked, this, &Form1::Label2_Click);
    if (auto* close = controls_.find<LabelControl>("Label3"))
        connect(close, &LabelControl::clicked, this, &Form1::Label3_Click);
    text1_ = controls_.find<QLineEdit>("Text1");
    if (text1_)
        text1_->installEventFilter(this);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text1_) {
        if (event->type() == QEvent::MouseButtonRelease) {
            Text1_Click();
        } else if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            int code = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter
                           ? 13
                           : (key->text().isEmpty() ? 0 : key->text().front().unicode());
            Text1_KeyPress(code); // the key goes on to the box unchanged
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::OpenLink(const QString& control) {
    for (const LinkTarget& link : linkTable(program_.sites))
        if (link.control == control)
            desktop_.urls->ShellExecuteA(link.url);
}

void Form1::Command2_Click() {
    // Nothing here may fail loudly: a search that cannot run does nothing.
    const QString text = text1_ ? text1_->text() : QString();
    desktop_.urls->ShellExecuteA(searchUrl(program_.sites, text));
}

void Form1::Text1_KeyPress(int& keyAscii) {
    if (keyAscii == 13)
        Command2_Click();
}

void Form1::Text1_Click() {
    if (text1_ && text1_->text() == QLatin1String(SearchPrompt))
        text1_->setText(QString());
}

void Form1::Command8_Click() {
    // The ticker has no embedded page to show; the button does nothing.
}

} // namespace monitor
