// The embedded view's page on a real web engine, against two sites on
// loopback: its own and another that must never be asked for anything.
#include "monitor/platform/webengine/sitepage.h"
#include "pageserver.h"
#include "support/fakedesktop.h"

#include <QFile>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <gtest/gtest.h>

#include <csignal>

namespace {

using monitor::webengine::SitePage;
using webengine_test::PageServer;

class SitePageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.listening() && elsewhere.listening());
        view.setPage(page);
        view.resize(400, 300);
        view.show();
    }

    // Opens a page of the home site and waits for it to finish loading.
    bool open(const QString& path) {
        QSignalSpy loaded(page, &QWebEnginePage::loadFinished);
        page->open(QUrl(home.url(path)));
        return loaded.wait(15000) && loaded.first().at(0).toBool();
    }
    QVariant js(const QString& script) {
        QVariant result;
        bool done = false;
        page->runJavaScript(script, [&](const QVariant& v) {
            result = v;
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 10000)) << qPrintable(script);
        return result;
    }
    // Clicks on a spot of the page with nothing until the page sees a click:
    // until its first frame, the engine drops input.
    bool inputFlows(QPoint nothing) {
        js("window.ups = 0; addEventListener('mouseup', () => ++window.ups)");
        return QTest::qWaitFor(
            [&] {
                QTest::mouseClick(view.focusProxy(), Qt::LeftButton, {}, nothing);
                return js("window.ups").toInt() > 0;
            },
            10000);
    }
    // Waits for the page's title to become title.
    bool titled(const QString& title, int ms = 5000) {
        return QTest::qWaitFor([&] { return page->title() == title; }, ms);
    }

    PageServer home{QHostAddress("127.0.0.1")};
    PageServer elsewhere{QHostAddress("127.0.0.2")};
    QStringList log;
    testing_support::FakeUrlShell urls{log};
    QWebEngineProfile profile; // off the record, as the program's; outlives the page
    QWebEngineView view;
    SitePage* page = new SitePage(&profile, urls, &view);
};

TEST(SiteRule, SameSchemeHostAndPortAreOneSiteAndAnyOtherIsAnother) {
    using monitor::webengine::sameSite;
    const QUrl home("http://127.80.0.10/gamestart/gamestart.asp");
    // Path, query, case and a spelt-out default port do not make another site.
    for (const char* same : {"http://127.80.0.10/", "http://127.80.0.10:80/news?x=1#top",
                             "HTTP://127.80.0.10/Other", "http://user@127.80.0.10/"}) {
        EXPECT_TRUE(sameSite(QUrl(same), home)) << same;
        EXPECT_TRUE(sameSite(home, QUrl(same))) << same;
    }
    EXPECT_TRUE(sameSite(QUrl("https://Example.org/a"), QUrl("https://example.org:443/b")));
    // Any one of the three changed is another site.
    for (const char* other : {"https://127.80.0.10/gamestart/gamestart.asp",
                              "http://127.80.0.11/gamestart/gamestart.asp",
                              "http://127.80.0.10:8080/gamestart/gamestart.asp",
                              "http://127.80.0.10.example/", "ftp://127.80.0.10/",
                              "file:///gamestart/gamestart.asp", "about:blank", "", "http:///x"}) {
        EXPECT_FALSE(sameSite(QUrl(other), home)) << other;
        EXPECT_FALSE(sameSite(home, QUrl(other))) << other;
    }
    EXPECT_FALSE(sameSite(home, QUrl())) << "nothing opened yet: no site at all";
}

// A redirect, a script, a refresh, a frame, pictures and a pop-up: none takes
// the view off its site or asks the other site for anything, and none of them
// is handed to the desktop's browser either.
TEST_F(SitePageTest, NothingButTheUsersClickLeavesTheSiteAndNothingElsewhereIsAsked) {
    const QString far = elsewhere.url("/far");
    home.redirect("/moved", far);
    home.page("/start",
              "<title>start</title><meta http-equiv=refresh content='1;url=" + far.toLatin1() +
                  "'><img src='" + far.toLatin1() + ".png'><iframe src='" + far.toLatin1() +
                  "'></iframe><a id=away href='" + far.toLatin1() +
                  "'>away</a><script>window.open('" + far.toLatin1() + "');</script>");
    ASSERT_TRUE(open("/start"));
    js("location.href = '" + far + "'");
    js("document.getElementById('away').click()");
    js("location.href = '/moved'");
    QTest::qWait(1500); // the refresh's second too
    EXPECT_EQ(home.requests.filter("/moved").size(), 1) << "the site's own path loads";
    EXPECT_TRUE(elsewhere.requests.isEmpty()) << qPrintable(elsewhere.requests.join(", "));
    EXPECT_TRUE(urls.urls.isEmpty()) << qPrintable(urls.urls.join(", "));
    EXPECT_EQ(page->url(), QUrl(home.url("/start")));
    EXPECT_EQ(page->title(), "start");

    // Opened straight at a path that redirects elsewhere: refused as well.
    QSignalSpy loaded(page, &QWebEnginePage::loadFinished);
    page->open(QUrl(home.url("/moved")));
    ASSERT_TRUE(loaded.wait(15000));
    EXPECT_FALSE(loaded.first().at(0).toBool());
    EXPECT_TRUE(elsewhere.requests.isEmpty()) << qPrintable(elsewhere.requests.join(", "));
}

TEST_F(SitePageTest, AClickedLinkElsewhereOpensInTheDesktopsBrowserOnceAndOnlyForTheWeb) {
    const QString far = elsewhere.url("/far?a=%C3%A9&b=1");
    home.page("/next", "<title>next</title>");
    home.page("/start", "<title>start</title><style>a{display:block;height:50px}</style>"
                        "<a id=far href='" +
                            far.toLatin1() +
                            "'>far</a>"
                            "<a id=mail href='mailto:gm@example.org'>mail</a>"
                            "<a id=file href='file:///etc/hostname'>file</a>"
                            "<a id=next href='/next'>next</a>");
    ASSERT_TRUE(open("/start"));
    ASSERT_TRUE(inputFlows(QPoint(300, 280)));
    QWidget* input = view.focusProxy();
    QTest::mouseClick(input, Qt::LeftButton, {}, QPoint(20, 25)); // far
    ASSERT_TRUE(QTest::qWaitFor([&] { return !urls.urls.isEmpty(); }, 5000));
    EXPECT_EQ(urls.urls, QStringList{far}) << "as the page spelt it, percent-encoded";
    // The click is spent: a script that follows it up goes nowhere.
    js("document.getElementById('far').click()");
    QTest::mouseClick(input, Qt::LeftButton, {}, QPoint(20, 75));  // mail
    QTest::mouseClick(input, Qt::LeftButton, {}, QPoint(20, 125)); // file
    QTest::qWait(1000);
    EXPECT_EQ(urls.urls, QStringList{far}) << "other schemes are not handed on";
    EXPECT_EQ(page->title(), "start");
    // Past the user's moment, a script's navigation is the script's own.
    QTest::mouseClick(input, Qt::LeftButton, {}, QPoint(300, 280)); // on nothing
    QTest::qWait(SitePage::UserActionMs + 200);
    js("document.getElementById('far').click()");
    QTest::qWait(500);
    EXPECT_EQ(urls.urls.size(), 1);
    // A link within the site loads in the view.
    QTest::mouseClick(input, Qt::LeftButton, {}, QPoint(20, 175)); // next
    EXPECT_TRUE(titled("next"));
    EXPECT_TRUE(elsewhere.requests.isEmpty()) << qPrintable(elsewhere.requests.join(", "));
}

TEST_F(SitePageTest, PopUpsDownloadsAndPermissionRequestsAreRefused) {
    home.attachment("/patch.bin", QByteArray(4096, 'p'));
    home.page("/start", "<title>start</title><a id=new target=_blank href='/start'>new</a>"
                        "<a id=get href='/patch.bin'>get</a>");
    QList<QPointer<QWebEngineDownloadRequest>> downloads;
    QObject::connect(&profile, &QWebEngineProfile::downloadRequested, &view,
                     [&](QWebEngineDownloadRequest* d) { downloads << d; });
    ASSERT_TRUE(open("/start"));
    ASSERT_TRUE(inputFlows(QPoint(300, 280)));
    js("window.open('/start')");
    QTest::mouseClick(view.focusProxy(), Qt::LeftButton, {}, QPoint(12, 14)); // target=_blank
    js("document.getElementById('get').click()");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !downloads.isEmpty(); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return downloads[0] &&
                   downloads[0]->state() == QWebEngineDownloadRequest::DownloadCancelled;
        },
        5000));
    EXPECT_FALSE(QFile::exists(profile.downloadPath() + "/patch.bin"));
    // Each of these waits on the user's answer: none must stay pending.
    js("Notification.requestPermission().then(r => document.title = 'notify ' + r)");
    EXPECT_TRUE(titled("notify denied"));
    js("navigator.geolocation.getCurrentPosition(() => document.title = 'located', "
       "e => document.title = 'location ' + e.code)");
    EXPECT_TRUE(titled("location 1")) << "PERMISSION_DENIED";
    QTest::qWait(500);
    EXPECT_EQ(home.requests.filter("GET /start").size(), 1) << "no second window loaded it";
}

TEST_F(SitePageTest, AfterItsRenderProcessEndsTheNextOpenLoadsThePageInANewOne) {
    home.page("/start", "<title>start</title>");
    ASSERT_TRUE(open("/start"));
    const qint64 first = page->renderProcessPid();
    ASSERT_GT(first, 0);
    QSignalSpy ended(page, &QWebEnginePage::renderProcessTerminated);
    ::kill(pid_t(first), SIGKILL);
    ASSERT_TRUE(ended.wait(10000));
    EXPECT_EQ(ended.first().at(0).value<QWebEnginePage::RenderProcessTerminationStatus>(),
              QWebEnginePage::KilledTerminationStatus);

    ASSERT_TRUE(open("/start"));
    EXPECT_NE(page->renderProcessPid(), first);
    EXPECT_EQ(js("document.title").toString(), "start");
    EXPECT_EQ(home.requests.filter("GET /start").size(), 2);
}

} // namespace
