#include "app/layout/TwipGeometry.h"
#include "support/TestFiles.h"
#include "support/WindowFixture.h"

#include <QtTest>
#include <QtWidgets>

namespace {
const QString mailLink =
    "mailto:tolvik-support@quenwick.example?subject=Tolvik%20v.%206.711:%20...%20please%20"
    "REPLACE%20these%20notes%20with%20your%20sub-subject%20here";

// Opens a dialog from its menu entry; while it is shown modally, inspect runs and presses the button.
void openAndPress(WindowFixture& f, const char* entry, const char* button,
                  const std::function<void(QDialog*)>& inspect) {
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        // Pressed also when a check failed, so that the test ends.
        const auto press = qScopeGuard([&] { dialog->findChild<QPushButton*>(button)->click(); });
        inspect(dialog);
    });
    f.control<QAction>(entry)->trigger();
}

QString look(const QWidget* widget) {
    return widget->font().family() + ' ' + QString::number(widget->font().pointSizeF()) +
           (widget->font().bold() ? " bold" : "");
}

// The caption, the client area in twips, font and background, then every element top to bottom and left to
// right, as name=text, with its font where it has one of its own; one that does not lie whole inside the
// dialog says so.
QStringList contents(QDialog* dialog) {
    QList<QWidget*> elements = dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    std::ranges::stable_sort(elements, {},
                             [](QWidget* element) { return std::pair(element->y(), element->x()); });
    QStringList seen{QString("%1: %2 x %3, %4 on %5")
                         .arg(dialog->windowTitle())
                         .arg(TwipGeometry::toTwips(dialog, dialog->width()))
                         .arg(TwipGeometry::toTwips(dialog, dialog->height()))
                         .arg(look(dialog), dialog->palette().color(QPalette::Window).name())};
    for (QWidget* element : elements) {
        const QString shown =
            element->property("plainText").toString() + element->property("text").toString();
        seen << element->objectName() + "=" + shown +
                    (element->font() == dialog->font() ? "" : " [" + look(element) + "]") +
                    (dialog->rect().contains(element->geometry()) ? "" : " (outside)");
    }
    return seen;
}
} // namespace

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    // Made once, hidden by OK: the second opening shows the same dialog with the name still once.
    void aboutNamesTheProgramOnceAcrossOpenings() {
        WindowFixture f;
        for (int opening = 0; opening < 2; ++opening)
            openAndPress(f, "mnuHelpAbout", "cmdOkay", [&](QDialog* about) {
                QCOMPARE(contents(about), expectedLines("dialogs/about.txt"));
                // A link of the panel, chosen with the keyboard, opens in the browser; the panel stays.
                auto* panel = about->findChild<QTextBrowser*>("RichTextBox1");
                const QString shown = panel->toPlainText();
                panel->setFocus();
                QTest::keyClick(panel, Qt::Key_Tab);
                QTest::keyClick(panel, Qt::Key_Return);
                QCOMPARE(panel->toPlainText(), shown);
            });
        QCOMPARE(f.window->findChildren<QDialog*>("frmAbout").size(), 1);
        QVERIFY(f.window->findChild<QDialog*>("frmAbout")->isHidden());
        QCOMPARE(f.shell.opened.size(), 2);
        QVERIFY(f.shell.opened[0].startsWith("https://") && f.shell.opened[1] == f.shell.opened[0]);
    }

    // Whether or not a mail program opens, the same link goes out and the dialog hides.
    void tryEmailingOpensThePreparedMailAndHides() {
        WindowFixture f;
        for (const bool opens : {true, false}) {
            f.shell.openSucceeds = opens;
            openAndPress(f, "mnuHelpEmail", "cmdEmail", [&](QDialog* email) {
                QCOMPARE(contents(email), expectedLines("dialogs/email.txt"));
                for (const char* name : {"Text2", "Text5"}) {
                    auto* box = email->findChild<QPlainTextEdit*>(name);
                    QVERIFY(box->isReadOnly() && box->frameShape() == QFrame::NoFrame &&
                            !(box->focusPolicy() & Qt::TabFocus));
                    QCOMPARE(box->palette().color(QPalette::Base), QColor(224, 224, 224));
                }
            });
            QVERIFY(f.window->findChild<QDialog*>("frmEmail")->isHidden());
            QCOMPARE(f.window->mailto("mailto:a b") > 32, opens);
        }
        QCOMPARE(f.shell.opened, QStringList({mailLink, "mailto:a%20b", mailLink, "mailto:a%20b"}));
        QVERIFY(f.messages.log().isEmpty());
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
