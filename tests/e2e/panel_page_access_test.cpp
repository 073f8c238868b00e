// The panel's shown update log as a screen reader and a keyboard user meet
// it: the real brambleview on a private desktop with an enabled accessibility
// bus, read through tools/atspi and driven by xdotool key presses alone.
#include "e2e/programdesktop.h"
#include "forms/brambleview/brambleview.h"

#include <QProcess>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <vector>

namespace {

// One node of a printed accessible tree: its depth and its line.
struct Node {
    int depth;
    QString line;
    // Role and name, the part of the line that stays while states change.
    QString what() const { return line.left(line.indexOf(" [")); }
};

std::vector<Node> parseTree(const QString& printed) {
    std::vector<Node> nodes;
    for (const QString& line : printed.split('\n', Qt::SkipEmptyParts)) {
        const qsizetype indent = line.size() - line.trimmed().size();
        nodes.push_back({int(indent / 2), line.trimmed()});
    }
    return nodes;
}

// The nodes at and under nodes[at].
std::vector<Node> subtree(const std::vector<Node>& nodes, size_t at) {
    std::vector<Node> below{nodes[at]};
    for (size_t i = at + 1; i < nodes.size() && nodes[i].depth > nodes[at].depth; ++i)
        below.push_back(nodes[i]);
    return below;
}

// The index of the node's ancestor at depth.
size_t ancestor(const std::vector<Node>& nodes, size_t at, int depth) {
    while (at > 0 && nodes[at].depth > depth)
        --at;
    return at;
}

bool holds(const std::vector<Node>& nodes, const QString& what) {
    for (const Node& n : nodes)
        if (n.what() == what)
            return true;
    return false;
}

class PanelPageAccess : public e2e::ProgramDesktop {
protected:
    PanelPageAccess()
        : ProgramDesktop({.windowManager = true, .trayHost = true, .accessibility = true}) {}

    QString atspi(const QStringList& args) const { return x.run(ATSPI_TOOL, args).trimmed(); }
    QString pid() const { return QString::number(program->processId()); }
    QPoint on(const QString& control) const {
        const QPoint centre = panel.form1.get(control).centre();
        return at(centre.x(), centre.y());
    }
    QRect shownPage() const {
        QRect page = panel.form1.get(panel.page.browser).pixelRect();
        page.moveLeft(panel.page.shownLeft);
        return page.translated(geometry.topLeft());
    }
    // Shows the update log and waits for it to be drawn.
    void showLog() {
        click(on(role.logToggle));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return e2e::countPixels(x.screenshot(), shownPage(), [](QRgb c) {
                           return qRed(c) < 60 && qGreen(c) < 45 && qBlue(c) < 30;
                       }) > 20000;
            },
            15000))
            << "the page shows";
        QTest::qWait(500);
    }
    // The page's part of the program's tree: the document, what it holds,
    // and the nodes between it and the panel's window. Empty when the
    // document is not under the panel's window.
    std::vector<Node> pageNodes(const std::vector<Node>& nodes) const {
        const QString extents = QString("@%1,%2,%3x%4")
                                    .arg(geometry.x())
                                    .arg(geometry.y())
                                    .arg(geometry.width())
                                    .arg(geometry.height());
        for (size_t i = 0; i < nodes.size(); ++i) {
            if (!nodes[i].line.startsWith("document web"))
                continue;
            const size_t top = ancestor(nodes, i, 1);
            if (!nodes[top].line.endsWith(extents))
                continue;
            std::vector<Node> page = subtree(nodes, i);
            for (size_t up = i; nodes[up].depth > 2;) {
                up = ancestor(nodes, up, nodes[up].depth - 1);
                page.push_back(nodes[up]);
            }
            return page;
        }
        return {};
    }
    std::vector<Node> waitForPageNodes() {
        std::vector<Node> page;
        (void)QTest::qWaitFor(
            [&] {
                tree = atspi({"tree", pid()});
                page = pageNodes(parseTree(tree));
                return holds(page, "heading 'Vellmoor — Game Start'");
            },
            15000);
        return page;
    }
    QString focused() const { return atspi({"focused", pid()}); }
    QImage pagePixels() const { return x.screenshot().copy(shownPage()); }

    const forms::Program panel = forms::brambleview();
    const forms::Roles& role = panel.roles;
    QString tree;
};

TEST_F(PanelPageAccess, TheShownLogIsADocumentUnderThePanelAndTheHitTestFindsIt) {
    startRealm();
    startProgram(BRAMBLEVIEW_BIN, true);
    ASSERT_TRUE(focus());
    EXPECT_TRUE(pageNodes(parseTree(atspi({"tree", pid()}))).empty())
        << "parked, the page is no part of the panel's tree";
    showLog();
    const std::vector<Node> page = waitForPageNodes();
    ASSERT_TRUE(holds(page, "heading 'Vellmoor — Game Start'")) << qPrintable(tree);
    EXPECT_TRUE(holds(page, "heading 'Update 2.13'")) << qPrintable(tree);
    EXPECT_GE(int(std::count_if(page.begin(), page.end(),
                                [](const Node& n) { return n.line.startsWith("list item"); })),
              5)
        << qPrintable(tree);

    const QPoint centre = shownPage().center();
    const Node hit{0,
                   atspi({"at", pid(), QString::number(centre.x()), QString::number(centre.y())})};
    EXPECT_TRUE(holds(page, hit.what()))
        << "found " << qPrintable(hit.line) << ", not a node of the page";
}

TEST_F(PanelPageAccess, TheKeyboardGoesIntoThePageAndComesBackToThePanel) {
    startRealm();
    startProgram(BRAMBLEVIEW_BIN, true);
    ASSERT_TRUE(focus());
    showLog();
    const std::vector<Node> page = waitForPageNodes();
    ASSERT_FALSE(page.empty()) << qPrintable(tree);
    const auto inPage = [&] { return holds(page, Node{0, focused()}.what()); };
    const QString toggle = QString("check box '%1'").arg(panel.form1.get(role.logToggle).text);

    // A click in the page, then keys scroll it.
    click(shownPage().center());
    ASSERT_TRUE(QTest::qWaitFor(inPage, 5000)) << qPrintable(focused());
    const QImage top = pagePixels();
    xdo({"key", "Next"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return pagePixels() != top; }, 5000))
        << "PageDown did not scroll the page";

    // Escape gives the keyboard back to the toggle; Tab goes into the page,
    // Shift+Tab back out, and Tab past the page's last stop on to the panel.
    xdo({"key", "Escape"});
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return Node{0, focused()}.what() == toggle;
        },
        5000))
        << qPrintable(focused());
    xdo({"key", "Tab"});
    EXPECT_TRUE(QTest::qWaitFor(inPage, 5000)) << qPrintable(focused());
    xdo({"key", "shift+Tab"});
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return Node{0, focused()}.what() == toggle;
        },
        5000))
        << qPrintable(focused());
    xdo({"key", "Tab"});
    ASSERT_TRUE(QTest::qWaitFor(inPage, 5000)) << qPrintable(focused());
    xdo({"key", "Tab"}); // the page holds no link: its last stop is the page
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const QString now = focused();
            return !now.isEmpty() && !holds(page, Node{0, now}.what()) &&
                   Node{0, now}.what() != toggle;
        },
        5000))
        << qPrintable(focused());
}

// Qt's offscreen platform cannot hang one window inside another: the panel
// runs there without its page, says so once, and ends cleanly.
TEST(PanelOffscreen, RunsWithoutItsPageAndEndsCleanly) {
    QProcess panel;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QTWEBENGINE_DISABLE_SANDBOX", "1");
    panel.setProcessEnvironment(env);
    panel.setProcessChannelMode(QProcess::MergedChannels);
    panel.start(BRAMBLEVIEW_BIN);
    ASSERT_TRUE(panel.waitForStarted(5000));
    QTest::qWait(3000);
    ASSERT_EQ(panel.state(), QProcess::Running) << qPrintable(panel.readAll());
    ::kill(pid_t(panel.processId()), SIGTERM);
    ASSERT_TRUE(panel.waitForFinished(10000));
    const QString said = QString::fromLocal8Bit(panel.readAll());
    EXPECT_EQ(panel.exitStatus(), QProcess::NormalExit) << qPrintable(said);
    EXPECT_EQ(panel.exitCode(), 0) << qPrintable(said);
    EXPECT_EQ(said.count("cannot hold the embedded page"), 1) << qPrintable(said);
    EXPECT_FALSE(said.contains("setParent")) << qPrintable(said);
}

} // namespace
