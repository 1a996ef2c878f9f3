#include "app/TabControl.h"
#include "layout/TwipGeometry.h"
#include "support/TestFiles.h"
#include "support/WindowFixture.h"

#include <QtTest>
#include <QtWidgets>

namespace {
#ifdef Q_OS_WIN
const QString editorLauncher = "MyEditor.bat";
#else
const QString editorLauncher = "MyEditor.sh";
#endif
const QStringList solverBoxes{"Remax", "Detail", "DeltaSolv", "PreDamp", "Damp"};

QColor labelColour(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

bool showWindow(WindowFixture& f) {
    f.window->show();
    return QTest::qWaitForWindowExposed(f.window.get());
}
} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startsInNormalMode() {
        WindowFixture f;
        QVERIFY(f.control<QPushButton>("cmdPlots")->isHidden());
        QCOMPARE(f.window->focusWidget(), f.box("Alpha"));
        QStringList titles{f.window->windowTitle()};
        for (const char* name : {"", "shotgun.22.tolv"}) {
            f.state.FileName = name;
            f.window->ShowFilename();
            titles << f.window->windowTitle();
        }
        QCOMPARE(titles,
                 QStringList({"Tolvik, a Calculus-level Software", "Tolvik™, a Calculus-level program",
                              "shotgun.22.tolv ... Tolvik™, a Calculus-level program"}));
    }

    // Under a theme with dark tips, answered questions stay in the window's text colour.
    void completenessRule() {
        const QPalette before = QApplication::palette();
        const auto restore = qScopeGuard([&before] { QApplication::setPalette(before); });
        QPalette darkTips = before;
        darkTips.setColor(QPalette::ToolTipText, Qt::white);
        darkTips.setColor(QPalette::WindowText, Qt::black);
        QApplication::setPalette(darkTips);
        const QColor normal(Qt::black);
        // A blank counts as an answer, and so does "-Select-" in another case.
        for (const auto& [answer, complete] :
             {std::pair{"", false}, {"-Select-", false}, {"-select-", true}, {" ", true}}) {
            WindowFixture f;
            f.box("Note1")->clear(); // notes and solver variables never count
            f.box("Remax")->setText("-Select-");
            QVERIFY(f.window->isCompleteTest());
            f.box("Delta")->setText(answer);
            QCOMPARE(f.window->isCompleteTest(), complete);
            QCOMPARE(labelColour(f.label("Question(2)")), complete ? normal : QColor(255, 0, 0));
            QCOMPARE(labelColour(f.label("Question(1)")), normal);
            QCOMPARE(f.messages.described(),
                     complete ? QStringList()
                              : QStringList{"Missing some data fields|Some fields are "
                                            "Blank, please fill them and submit again|Exclamation|Ok"});
            if (!complete) {
                f.box("Delta")->setText("3");
                QVERIFY(f.window->isCompleteTest());
                QCOMPARE(labelColour(f.label("Question(2)")), normal);
            }
        }
    }

    void solverBoxesAreOnWhenRemaxDeltaOrDampHoldAValue() {
        // Detail and PreDamp alone leave them off.
        for (const auto& [values, enabled] : {std::pair{QStringList{"", "5", "", ".3", ""}, false},
                                              {QStringList{"20", "", "", "", ""}, true},
                                              {QStringList{"", "", "1.E-7", "", ""}, true},
                                              {QStringList{"", "", "", "", ".2"}, true}}) {
            WindowFixture f;
            QVERIFY(showWindow(f));
            f.window->PutAnswers();
            for (int i = 0; i < 5; ++i)
                f.state.answers.SolverVars.*solverVariableOrder[i] = values[i];
            f.window->GetAnswers(); // the tab is hidden: they stay off whatever they hold
            for (int i = 0; i < 5; ++i)
                QVERIFY(!f.box(solverBoxes[i])->isEnabled() && f.box(solverBoxes[i])->text() == values[i]);
            f.window->tabs()->setCurrentIndex(2);
            QCOMPARE(f.window->focusWidget(), f.box("Remax"));
            f.window->GetAnswers();
            for (int i = 0; i < 5; ++i)
                QCOMPARE(f.box(solverBoxes[i])->isEnabled(), enabled);
            // Edit Defaults brings the edit values without counting a change.
            f.control<QPushButton>("cmdEditSolverData")->click();
            const QStringList edited{"20", "0", "1.E-7", ".2", ".2"};
            for (int i = 0; i < 5; ++i)
                QVERIFY(f.box(solverBoxes[i])->isEnabled() && f.box(solverBoxes[i])->text() == edited[i]);
            QVERIFY(!f.state.DataChanged);
            f.control<QPushButton>("cmdDefaultSolverData")->click();
            QVERIFY(!f.box("Damp")->isEnabled() && f.box("Damp")->text().isEmpty());
        }
    }

    void typingAndPastingIntoTheBoxes() {
        WindowFixture f;
        QVERIFY(showWindow(f));
        f.box("Remax")->setText("99");
        f.box("Damp")->clear();
        f.window->PutAnswers();
        f.window->GetAnswers(); // the same texts again
        QVERIFY(!f.state.DataChanged);
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        f.box("Note2")->setFocus();
        QCoreApplication::processEvents();
        QTest::keyClicks(f.box("Note2"), "x");
        QVERIFY(f.state.DataChanged);
        QCOMPARE(f.box("Note2")->text(), QString("x")); // focus selects the whole text; typing replaces it

        f.state.DataChanged = false;
        f.state.answers.Answers[3] = "1 2 3 4";
        f.window->GetAnswers();
        QVERIFY(f.state.DataChanged);
        // A demo keeps the name the record was saved under.
        f.state.FileName = "arm.tolv";
        f.window->PutAnswers();
        f.state.RunMode = "Demo";
        f.state.FileName = "other.tolv";
        f.window->PutAnswers();
        QCOMPARE(f.state.answers.DataName, QString("arm.tolv"));
        // The boxes refuse characters an input file cannot hold; a line break would split the item in
        // the file, and a long text must not be cut.
        const QString longText = QString(40000, 'x');
        const std::tuple<QString, QString, QString> pastes[]{
            {"Alpha", QString::fromUtf8("Ωmega"), ""},
            {"Note1", QString::fromUtf8("»ok €"), QString::fromUtf8("»ok €")},
            {"Note2", "two\r\nlines\n" + longText, "two  lines " + longText}};
        for (const auto& [name, pasted, kept] : pastes) {
            QApplication::clipboard()->setText(pasted);
            f.box(name)->clear();
            f.box(name)->paste();
            QCOMPARE(f.box(name)->text(), kept);
        }
    }

    // From the first show on only the shown tab's controls are on and shown, so keys cannot reach the
    // others. Ctrl+Tab, Ctrl+PgDn, Ctrl+Shift+Tab and Ctrl+PgUp step round the enabled tabs from
    // anywhere, each step focusing the tab's first control as a click does.
    void keysStepRoundTheEnabledTabsAndReachNoHiddenControl() {
        WindowFixture f;
        QVERIFY(showWindow(f) && QTest::qWaitForWindowActive(f.window.get()));
        TabControl* tabs = f.window->tabs();
        QStringList focused, wrong;
        const auto check = [&] {
            for (QObject* control : f.window->controls()) {
                auto* widget = qobject_cast<QWidget*>(control);
                if (!widget || tabs->tabOf(widget) < 0)
                    continue;
                const bool shown = tabs->tabOf(widget) == tabs->currentIndex();
                if (widget->isEnabled() != shown ||
                    widget->isVisible() != (shown && widget->objectName() != "cmdPlots"))
                    wrong << widget->objectName();
            }
            focused << f.window->focusWidget()->objectName();
        };
        check();
        f.fileDialogs.choosePath(f.programDirectory() + "/arm.tolv");
        f.control<QAction>("mnuFileSaveAs")->trigger(); // a save turns Submit Run on, but not while hidden
        check();
        QTest::keyClick(f.box("Note2"), Qt::Key_Tab);
        QCOMPARE(tabs->tabOf(f.window->focusWidget()), 0);
        const QKeyCombination previous = Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, demos = Qt::Key_unknown;
        for (const QKeyCombination key :
             {Qt::CTRL | Qt::Key_Tab, Qt::CTRL | Qt::Key_PageDown, previous, Qt::CTRL | Qt::Key_PageUp,
              Qt::CTRL | Qt::Key_PageUp, Qt::CTRL | Qt::Key_Tab, demos, Qt::CTRL | Qt::Key_Tab,
              Qt::CTRL | Qt::Key_Tab}) {
            if (key == demos)
                f.control<QAction>("mnuDemosRun")->trigger(); // the example panel and the tips only
            else
                QTest::keyClick(f.window->focusWidget(), key.key(), key.keyboardModifiers());
            check();
        }
        QCOMPARE(wrong, QStringList());
        QCOMPARE(focused, (QStringList{"Alpha", "Alpha", "Remax", "cmdSubmit", "Remax", "Alpha",
                                       "RichTextBox1", "Alpha", "Exam(1)", "RichTextBox1", "Exam(1)"}));
        auto* tips = f.control<QTextEdit>("RichTextBox1"); // filled when first shown and fitted to the window
        QVERIFY(tips->toPlainText().contains("Solver Control Parameter Definitions"));
        const QSize outer = f.window->frameGeometry().size();
        QCOMPARE(TwipGeometry::rect(tips).size(), QSize(TwipGeometry::toTwips(tips, outer.width()) - 650,
                                                        TwipGeometry::toTwips(tips, outer.height()) - 1200));
    }

    // Keys with the focus in a box, as the platform sends them. The menus' shortcuts win over the keys
    // the box claims for itself (Ctrl+A selects all). An access key acts on a menu, a tab or a control
    // of the shown tab; with none it does nothing, and the letter that comes with it (X11 sends "u" with
    // Alt+U) is never typed. Ctrl+Alt is AltGr on Windows, which types.
    void keysWithTheFocusInABox_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("effect");
        const QString nothing = "tab 0, focus Alpha, Alpha 1, Remax 20";
        QTest::newRow("Ctrl+O") << 0 << (Qt::CTRL | Qt::Key_O) << "" << nothing + ", open dialog";
        QTest::newRow("Ctrl+A") << 0 << (Qt::CTRL | Qt::Key_A) << "" << nothing + ", save dialog";
        QTest::newRow("Ctrl+R") << 0 << (Qt::CTRL | Qt::Key_R) << ""
                                << nothing + ", File -not- saved OR has been modified!";
        QTest::newRow("Ctrl+D") << 0 << (Qt::CTRL | Qt::Key_D) << ""
                                << "tab 1, focus Exam(1), Alpha 1, Remax 20";
        QTest::newRow("Ctrl+L") << 0 << (Qt::CTRL | Qt::Key_L) << ""
                                << nothing + ", '~Tolvik.out' file not found.";
        QTest::newRow("button of a hidden tab") << 0 << (Qt::ALT | Qt::Key_U) << "u" << nothing;
        QTest::newRow("with Shift") << 0 << (Qt::ALT | Qt::SHIFT | Qt::Key_U) << "U" << nothing;
        QTest::newRow("button of a tab switched off")
            << 0 << (Qt::ALT | Qt::Key_C) << "c" << nothing; // "&Cancel"
        QTest::newRow("AltGr") << 0 << (Qt::CTRL | Qt::ALT | Qt::Key_E) << "€"
                               << "tab 0, focus Alpha, Alpha €, changed, Remax 20";
        QTest::newRow("tab") << 0 << (Qt::ALT | Qt::Key_S) << "s"
                             << "tab 2, focus Remax, Alpha 1, Remax 20";
        QTest::newRow("menu") << 0 << (Qt::ALT | Qt::Key_F) << "f"
                              << "tab 0, focus QMenuBar, Alpha 1, Remax 20, mnuFile";
        QTest::newRow("button of the shown tab") << 2 << (Qt::ALT | Qt::Key_U) << "u"
                                                 << "tab 2, focus cmdEditSolverData, Alpha 1, Remax ";
    }
    void keysWithTheFocusInABox() {
        QFETCH(int, tab);
        QFETCH(QKeyCombination, key);
        QFETCH(QString, text);
        QFETCH(QString, effect);
        WindowFixture f;
        QVERIFY(showWindow(f) && QTest::qWaitForWindowActive(f.window.get()));
        f.window->tabs()->setCurrentIndex(tab);
        QCoreApplication::processEvents(); // the focused box selects its text
        f.messages.script({MessageBoxes::Answer::Cancel});
        QTest::sendKeyEvent(QTest::Click, f.window->windowHandle(), key.key(), text, key.keyboardModifiers());
        const auto seen = [&f] {
            const QWidget* focus = f.window->focusWidget();
            QStringList effects{QString("tab %1").arg(f.window->tabs()->currentIndex()),
                                "focus " + (focus->objectName().isEmpty() ? focus->metaObject()->className()
                                                                          : focus->objectName()),
                                "Alpha " + f.box("Alpha")->text()};
            if (f.state.DataChanged)
                effects << "changed";
            effects << "Remax " + f.box("Remax")->text() << f.messages.titles();
            for (const FileDialogRequest& request : f.fileDialogs.requests())
                effects << (request.mode == FileDialogRequest::Mode::Save ? "save dialog" : "open dialog");
            if (const QWidget* menu = QApplication::activePopupWidget())
                effects << menu->objectName();
            return effects.join(", ");
        };
        QTRY_COMPARE(seen(), effect); // a button's access key presses it for a moment, then clicks
        if (QWidget* menu = QApplication::activePopupWidget())
            menu->close();
    }

    // A screen reader names every box by its question or label, and hears nothing of hidden tabs.
    void screenReadersHearEveryBoxByItsQuestion() {
        WindowFixture f;
        QVERIFY(showWindow(f));
        QStringList names, hidden;
        for (const QString name : {"Alpha", "P_Distance", "Q_Angle", "Note2", "Remax", "Damp", "tPause"}) {
            QAccessibleInterface* box = QAccessible::queryAccessibleInterface(f.box(name));
            names << box->text(QAccessible::Name);
            if (box->state().invisible)
                hidden << name;
        }
        QCOMPARE(names, expectedLines("app/spoken-names.txt") << f.label("pause")->text());
        QCOMPARE(hidden, (QStringList{"Remax", "Damp", "tPause"}));
        QCOMPARE((QList<QWidget*>{f.label("Question(7)")->buddy(), f.label("SolvQuestion(5)")->buddy()}),
                 (QList<QWidget*>{f.box("Q_Angle"), f.box("Damp")}));
        // A label that names its box still shows its caption's "&" as it did.
        QCOMPARE(QAccessible::queryAccessibleInterface(f.label("Question(4)"))->text(QAccessible::Name),
                 QString::fromUtf8("5. »  Px, Py, & Pz distance values ... Point w.r.t. tool?"));
    }

    // Each answer hints, as it is typed, at a count or a form its question does not ask for; the hint
    // blocks nothing and colours nothing.
    void answersHintAtWhatTheirQuestionsAsk_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("hint");
        for (const QString& row : expectedLines("app/hints.txt")) // box|typed|hint
            QTest::newRow(qPrintable(row))
                << row.section('|', 0, 0) << row.section('|', 1, 1) << row.section('|', 2, 2);
    }
    void answersHintAtWhatTheirQuestionsAsk() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, hint);
        WindowFixture f;
        QVERIFY(showWindow(f));
        QLineEdit* edit = f.box(box);
        const QString plainTip = edit->toolTip();
        QVERIFY(!solverBoxes.contains(box) || !plainTip.isEmpty()); // their own, kept behind the hint
        f.window->tabs()->setCurrentIndex(f.window->tabs()->tabOf(edit));
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, typed);
        const QLabel* marker = f.control<QLabel>(box + "Hint");
        QCOMPARE(
            (QStringList{edit->text(), edit->accessibleDescription(), marker->isVisible() ? "marked" : ""}),
            (QStringList{typed, hint, hint.isEmpty() ? "" : "marked"}));
        QCOMPARE(edit->toolTip(), hint.isEmpty() ? plainTip : hint);
        QVERIFY(f.window->isCompleteTest() == !typed.isEmpty() || solverBoxes.contains(box));
        QCOMPARE(labelColour(f.label("Question(1)")), QApplication::palette().color(QPalette::WindowText));
        edit->clear(); // as Open, New and a demo set the text
        QVERIFY(!marker->isVisible() && edit->toolTip() == plainTip &&
                edit->accessibleDescription().isEmpty());
    }

    void resizingKeepsEveryControlInProportion() {
        WindowFixture f;
        f.storeText("Software\\Quenwick\\Tolvik", "RunCount", "7");
        f.window->Form_Load();
        QVERIFY(showWindow(f));
        f.window->tabs()->setCurrentIndex(4);
        QWidget* client = f.window->centralWidget();
        const QSize before = client->size();
        const QTabBar* strip = f.window->tabs()->findChild<QTabBar*>();
        const QSizeF stripBefore(strip->height(), strip->font().pointSizeF()); // the tabs' height and font
        const double tipsFont = f.control<QTextEdit>("RichTextBox1")->font().pointSizeF(); // not scaled
        f.window->resize(f.window->width() + before.width(), f.window->height() + before.height() / 2);
        QTRY_COMPARE(client->size(), QSize(before.width() * 2, before.height() + before.height() / 2));
        const double wide = double(client->width()) / before.width();
        const double high = double(client->height()) / before.height();
        const auto near = [](int actual, double expected) { return qAbs(actual - expected) <= 2; };
        const QRect note = TwipGeometry::rect(f.box("Note1"));
        QVERIFY2(near(note.left(), 120 * wide - 75000) && near(note.top(), 4590 * high) &&
                     near(note.width(), 8772 * wide) && near(note.height(), 360 * high),
                 "a control of a hidden tab");
        QCOMPARE(f.box("Note1")->font().pointSizeF(), 8 * high);
        const QRect tabs = TwipGeometry::rect(f.window->tabs());
        QVERIFY(near(tabs.width(), 9500 * wide) && near(tabs.height(), 6224 * high));
        QVERIFY(near(strip->width(), f.window->tabs()->width()) &&
                near(strip->height(), stripBefore.width() * high));
        QCOMPARE(strip->font().pointSizeF(), stripBefore.height() * high);
        QCOMPARE(f.control<QTextEdit>("RichTextBox1")->font().pointSizeF(), tipsFont);
        const QRect tips = TwipGeometry::rect(f.control<QTextEdit>("RichTextBox1"));
        QVERIFY(near(tips.left(), 240 * wide) && near(tips.top(), 360 * high));
        QCOMPARE(tips.width(), TwipGeometry::toTwips(client, f.window->frameGeometry().width()) - 2650);
        f.window->tabs()->setCurrentIndex(0);
        QVERIFY(near(TwipGeometry::rect(f.box("Alpha")).left(), 120 * wide));
    }

    // Every entry is on, with its caption, access key and shortcut; each link opens a page of its own,
    // the documents and the source lie in the installation, and a shell that opens nothing is not
    // reported.
    void menuEntriesOpenTheirTargets() {
        WindowFixture f;
        f.shell.openSucceeds = f.shell.startSucceeds = false;
        f.state.ParentPath = f.programDirectory() + "/..";
        QStringList captions;
        for (QObject* control : f.window->controls())
            if (auto* entry = qobject_cast<QAction*>(control)) {
                QVERIFY2(entry->isEnabled(), qPrintable(entry->objectName()));
                captions << (entry->isSeparator() ? "-" : entry->text()) +
                                (entry->shortcut().isEmpty() ? "" : " " + entry->shortcut().toString());
                if (!entry->menu() &&
                    entry->objectName().contains(QRegularExpression("^mnu(Web|Help)(?!Email|About)")))
                    entry->trigger();
            }
        QCOMPARE(captions, expectedLines("app/menus.txt")); // caption and shortcut, top to bottom
        QStringList pages = f.shell.opened.filter(QRegularExpression("^https://"));
        pages.removeDuplicates();
        QCOMPARE(pages.size(), 12); // one page each, none shared
        QCOMPARE(f.shell.opened.filter(QRegularExpression("^(?!https://)")),
                 QStringList({f.programDirectory() + "/manual.pdf",
                              f.installation.path() + "/Quenwick/donate.html"}));
        const FakeShell::Started source = f.shell.started.last();
        QVERIFY(!source.waited);
        QCOMPARE(
            QStringList{source.program} + source.arguments,
            QStringList({f.state.ParentPath + "/" + editorLauncher, f.programDirectory() + "/Tolvuser.vt"}));
    }

    void rendersItsControlsWhereTheirTwipsSay() {
        WindowFixture f;
        QVERIFY(showWindow(f));
        const QImage image = f.window->grab().toImage();
        const auto* canvas = f.control<QWidget>("picCanvas");
        QCOMPARE(TwipGeometry::toPixels(canvas, 2880), 2 * canvas->logicalDpiY()); // an inch is 1440 twips
        QCOMPARE(canvas->geometry(),
                 QRect(0, 0, TwipGeometry::toPixels(canvas, 9500), TwipGeometry::toPixels(canvas, 6224)));
        for (const char* name : {"lblKeepNotes", "Note1", "Note2", "Question(0)", "Question(7)"}) {
            auto* widget = f.control<QWidget>(name);
            const QImage drawn =
                image.copy(QRect(widget->mapTo(f.window.get(), QPoint(0, 0)), widget->size()));
            QImage plain(drawn.size(), drawn.format());
            plain.fill(drawn.pixel(0, 0));
            QVERIFY2(drawn != plain, name); // something was drawn there
        }
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
