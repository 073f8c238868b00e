// The window's commands: link buttons, the site search and its box, the
// update-log toggle that shows or parks the embedded page, and the hide and
// close labels.
#include "monitor/controls/labelcontrol.h"
#include "monitor/form1.h"
#include "monitor/links.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace monitor {

void Form1::wireCommands() {
    const forms::Roles& role = program_.roles;
    auto onClick = [this](const QString& name, auto handler) {
        connect(controls_.get<QPushButton>(name), &QPushButton::clicked, this, handler);
    };
    onClick(role.refresh, [this] { Command1_Click(); });
    onClick(role.search, [this] { Command2_Click(); });
    if (webBrowser1_) {
        // Checkable, so assistive technology hears whether the log is shown. A
        // click and a screen reader's toggle action both arrive as toggled.
        auto* toggle = controls_.get<QPushButton>(role.logToggle);
        toggle->setCheckable(true);
        connect(toggle, &QPushButton::toggled, this, [this] { Command8_Click(); });
    } else {
        onClick(role.logToggle, [this] { Command8_Click(); });
    }
    for (const forms::Link& link : program_.links)
        onClick(link.control, [this, control = link.control] { OpenLink(control); });
    connect(controls_.get<LabelControl>(role.hide), &LabelControl::clicked, this,
            &Form1::Label2_Click);
    connect(controls_.get<LabelControl>(role.close), &LabelControl::clicked, this,
            &Form1::Label3_Click);
    text1_ = controls_.get<QLineEdit>(role.searchBox);
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
    for (const forms::Link& link : program_.links)
        if (link.control == control)
            desktop_.urls->ShellExecuteA(link.url);
}

void Form1::Command2_Click() {
    // Nothing here may fail loudly: a search that cannot run does nothing.
    desktop_.urls->ShellExecuteA(searchUrl(program_.sites, text1_->text()));
}

void Form1::Text1_KeyPress(int& keyAscii) {
    if (keyAscii == 13)
        Command2_Click();
}

void Form1::Text1_Click() {
    // The box's defined text is its prompt, cleared by the first click.
    if (text1_->text() == program_.form1.get(program_.roles.searchBox).text)
        text1_->setText(QString());
}

bool Form1::pageShown() const {
    // Read as single precision: any position but exactly the shown one counts
    // as parked.
    return webBrowser1_ &&
           static_cast<float>(webBrowser1_->Left()) == static_cast<float>(program_.page.shownLeft);
}

void Form1::Command8_Click() {
    if (!webBrowser1_)
        return; // no embedded page: the button does nothing
    if (pageShown()) {
        webBrowser1_->setLeft(parkedLeft_); // outside the shape; the page stays as it is
    } else {
        webBrowser1_->setLeft(program_.page.shownLeft);
        webBrowser1_->Navigate(program_.page.url);
    }
    // The controls under the shown page leave the tab chain; parked, they come back.
    followVisibleControls();
    auto* toggle = controls_.get<QPushButton>(program_.roles.logToggle);
    const QSignalBlocker quiet(toggle); // only says where the page is now
    toggle->setChecked(pageShown());
}

void Form1::loadPage() {
    if (webBrowser1_)
        webBrowser1_->Navigate(program_.page.url);
}

} // namespace monitor
