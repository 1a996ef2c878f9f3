#include "app/TabControl.h"
#include "app/layout/LayoutControl.h"
#include "app/layout/LayoutScaler.h"
#include "app/layout/LayoutWindow.h"
#include "app/layout/TwipGeometry.h"
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

using P = LayoutProperty;
using Values = QMap<P, double>;
using Opt = std::optional<double>;

Values rect(double left, double top, double width, double height, double font = 8) {
    return {{P::Left, left}, {P::Top, top}, {P::Width, width}, {P::Height, height}, {P::FontSize, font}};
}
Values tab(double width, double height, double tabHeight, double maxWidth, double font) {
    Values values = rect(600, 600, width, height);
    values.insert({{P::TabHeight, tabHeight}, {P::TabMaxWidth, maxWidth}, {P::FontObjectSize, font}});
    return values;
}
const Values box = rect(900, 600, 1800, 360);

// One control of every row: captured at 9000 x 6000 twips, and at 18000 x 9000.
const std::tuple<const char*, Values, Values> kinds[]{
    {"PictureBox", box, rect(1800, 900, 3600, 540)},
    {"SSTab", tab(9000, 6000, 300, 900, 8), tab(18000, 9000, 450, 1800, 12)},
    {"TextBox", box, rect(1800, 900, 3600, 540, 12)},
    // Exactly -30000 is not on a hidden tab.
    {"Label", rect(-30000, 600, 900, 300), rect(-60000, 600, 1800, 450, 12)}, // Top refused
    {"Menu", box, box},
    {"RichTextBox", box, rect(1800, 900, 1800, 360)},
};

struct FakeControl : LayoutControl {
    FakeControl(const char* type, Values values) : type(type), values(std::move(values)) {}
    QLatin1String typeName() const override { return QLatin1String(type); }
    Opt read(P p) const override { return values.contains(p) ? Opt(values[p]) : std::nullopt; }
    bool write(P p, double value) override {
        if (!values.contains(p) || refused.contains(p))
            return false;
        values[p] = value;
        return true;
    }
    const char* type;
    Values values;
    QList<P> refused;
};

struct FakeWindow : LayoutWindow {
    FakeWindow() {
        for (const auto& [type, captured, scaled] : kinds)
            controls.emplaceBack(type, captured);
        scaler.CaptureLayout(*this);
    }
    int controlCount() const override { return static_cast<int>(controls.size()); }
    LayoutControl& control(int index) override { return controls[index]; }
    double clientWidth() const override { return size.width(); }
    double clientHeight() const override { return size.height(); }
    FakeControl& operator[](const char* type) {
        return *std::ranges::find(controls, QLatin1String(type), &FakeControl::typeName);
    }
    int capture() try {
        scaler.CaptureLayout(*this);
        return 0;
    } catch (const Failure& failure) {
        return failure.number;
    }
    void scale(QSizeF newSize) {
        size = newSize;
        scaler.ScaleLayout(*this);
    }
    QList<FakeControl> controls;
    QSizeF size{9000, 6000};
    LayoutScaler scaler;
};
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
        tabs->setCurrentIndex(3); // Tab goes by the design's order, not by the order the controls were made
        QStringList order{f.window->focusWidget()->objectName()};
        for (int i = 0; i < 2; ++i) {
            QTest::keyClick(f.window->focusWidget(), Qt::Key_Tab);
            order << f.window->focusWidget()->objectName();
        }
        QCOMPARE(order, (QStringList{"cmdSubmit", "AutoExit", "tPause"}));
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
        QTest::addColumn<QString>("inMenu"); // typed next, into the menu the key opened
        QTest::addColumn<QString>("effect");
        const QString nothing = "tab 0, focus Alpha, Alpha 1, Remax 20";
        const QString saveDialog = nothing + ", save dialog",
                      lastOutput = nothing + ", '~Tolvik.out' file not found.";
        const QString demo = "tab 1, focus Exam(1), Alpha 1, Remax 20";
        const auto row = [](const char* name, int tab, QKeyCombination key, const QString& text,
                            const QString& inMenu, const QString& effect) {
            QTest::newRow(name) << tab << key << text << inMenu << effect;
        };
        row("Ctrl+N", 0, Qt::CTRL | Qt::Key_N, "", "", nothing + ", Confirm 'New' Response.");
        row("Ctrl+O", 0, Qt::CTRL | Qt::Key_O, "", "", nothing + ", open dialog");
        row("Ctrl+S", 0, Qt::CTRL | Qt::Key_S, "", "", saveDialog);
        row("Ctrl+A", 0, Qt::CTRL | Qt::Key_A, "", "", saveDialog);
        row("Ctrl+R", 0, Qt::CTRL | Qt::Key_R, "", "", nothing + ", File -not- saved OR has been modified!");
        row("Ctrl+D", 0, Qt::CTRL | Qt::Key_D, "", "", demo);
        row("Ctrl+L", 0, Qt::CTRL | Qt::Key_L, "", "", lastOutput);
        row("File, Save As", 0, Qt::ALT | Qt::Key_F, "f", "a", saveDialog);
        row("File, Delete", 0, Qt::ALT | Qt::Key_F, "f", "d", nothing + ", open dialog");
        row("Demos, Run Demo", 0, Qt::ALT | Qt::Key_D, "d", "d", demo);
        row("View, Example File", 0, Qt::ALT | Qt::Key_V, "v", "e", nothing + ", open dialog");
        row("View, Last Output", 0, Qt::ALT | Qt::Key_V, "v", "l", lastOutput);
        row("button of a hidden tab", 0, Qt::ALT | Qt::Key_U, "u", "", nothing);
        row("with Shift", 0, Qt::ALT | Qt::SHIFT | Qt::Key_U, "U", "", nothing);
        row("button of a tab switched off", 0, Qt::ALT | Qt::Key_C, "c", "", nothing); // "&Cancel"
        row("AltGr", 0, Qt::CTRL | Qt::ALT | Qt::Key_E, "€", "",
            "tab 0, focus Alpha, Alpha €, changed, Remax 20");
        row("tab", 0, Qt::ALT | Qt::Key_S, "s", "", "tab 2, focus Remax, Alpha 1, Remax 20");
        row("menu", 0, Qt::ALT | Qt::Key_F, "f", "", "tab 0, focus QMenuBar, Alpha 1, Remax 20, mnuFile");
        row("button of the shown tab", 2, Qt::ALT | Qt::Key_U, "u", "",
            "tab 2, focus cmdEditSolverData, Alpha 1, Remax ");
    }
    void keysWithTheFocusInABox() {
        QFETCH(int, tab);
        QFETCH(QKeyCombination, key);
        QFETCH(QString, text);
        QFETCH(QString, inMenu);
        QFETCH(QString, effect);
        WindowFixture f;
        QVERIFY(showWindow(f) && QTest::qWaitForWindowActive(f.window.get()));
        f.window->tabs()->setCurrentIndex(tab);
        QCoreApplication::processEvents(); // the focused box selects its text
        f.messages.script({MessageBoxes::Answer::Cancel});
        QTest::sendKeyEvent(QTest::Click, f.window->windowHandle(), key.key(), text, key.keyboardModifiers());
        if (!inMenu.isEmpty()) {
            QTRY_VERIFY(QApplication::activePopupWidget());
            QTest::keyClick(QApplication::activePopupWidget(), inMenu.at(0).toLatin1());
        }
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
        QLabel* marker = f.control<QLabel>(box + "Hint");
        QCOMPARE(
            (QStringList{edit->text(), edit->accessibleDescription(), marker->isVisible() ? "marked" : ""}),
            (QStringList{typed, hint, hint.isEmpty() ? "" : "marked"}));
        QCOMPARE(edit->toolTip(), hint.isEmpty() ? plainTip : hint);
        if (!hint.isEmpty()) // the amber sign, drawn to the marker's size
            QCOMPARE(marker->grab().toImage().pixelColor(marker->width() / 4, marker->height() * 4 / 5),
                     QColor(230, 150, 0));
        QVERIFY(f.window->isCompleteTest() == !typed.isEmpty() || solverBoxes.contains(box));
        QCOMPARE(labelColour(f.label("Question(1)")), QApplication::palette().color(QPalette::WindowText));
        edit->clear(); // as Open, New and a demo set the text
        QVERIFY(!marker->isVisible() && edit->toolTip() == plainTip &&
                edit->accessibleDescription().isEmpty());
    }

    // Each control keeps its share of the client area, one of a hidden tab at its true place; the tab
    // strip follows the height; the tips box only moves, and keeps its font.
    void resizingKeepsEveryControlInProportion() {
        WindowFixture f;
        f.storeText("Software\\Quenwick\\Tolvik", "RunCount", "7");
        f.window->Form_Load();
        QVERIFY(showWindow(f));
        f.window->tabs()->setCurrentIndex(4);
        QWidget* client = f.window->centralWidget();
        const QTabBar* strip = f.window->tabs()->findChild<QTabBar*>();
        auto* tips = f.control<QTextEdit>("RichTextBox1");
        const QList<QWidget*> scaled{f.box("Note1"), f.box("Alpha"), f.window->tabs(),
                                     f.control<QWidget>("picCanvas")};
        const auto truePlaces = [&] {
            QList<QRect> places;
            for (QWidget* control : scaled + QList<QWidget*>{tips}) {
                const QRect place = TwipGeometry::rect(control);
                places << place.translated(place.left() < -30000 ? 75000 : 0, 0);
            }
            return places;
        };
        const QList<QRect> before = truePlaces();
        QVERIFY(strip->height() >= strip->fontMetrics().height()); // the captions fit
        const QList<double> fonts{f.box("Note1")->font().pointSizeF(), strip->font().pointSizeF(),
                                  tips->font().pointSizeF(), double(strip->height())};
        const QSize area = client->size();
        f.window->resize(f.window->width() + area.width(), f.window->height() + area.height() / 2);
        QTRY_COMPARE(client->size(), QSize(area.width() * 2, area.height() + area.height() / 2));
        const double wide = double(client->width()) / area.width(),
                     high = double(client->height()) / area.height();
        const auto near = [](double actual, double expected) { return qAbs(actual - expected) <= 2; };
        const QList<QRect> after = truePlaces();
        for (qsizetype i = 0; i < before.size(); ++i)
            QVERIFY2(near(after[i].left(), before[i].left() * wide) &&
                         near(after[i].top(), before[i].top() * high),
                     qPrintable(QString::number(i)));
        for (qsizetype i = 0; i < scaled.size(); ++i)
            QVERIFY2(near(after[i].width(), before[i].width() * wide) &&
                         near(after[i].height(), before[i].height() * high),
                     qPrintable(scaled[i]->objectName()));
        QVERIFY(after[0].left() != TwipGeometry::rect(scaled[0]).left()); // on a hidden tab
        QCOMPARE(f.box("Note1")->font().pointSizeF(), fonts[0] * high);
        QCOMPARE(strip->font().pointSizeF(), fonts[1] * high);
        QCOMPARE(tips->font().pointSizeF(), fonts[2]);
        QVERIFY(near(strip->height(), fonts[3] * high) && near(strip->width(), f.window->tabs()->width()));
        QCOMPARE(after[4].width(), TwipGeometry::toTwips(client, f.window->frameGeometry().width()) - 2650);
    }

    // Every entry is on and no two of a menu share an access key; each link opens a page of its own,
    // the documents and the source lie in the installation, and a shell that opens nothing is not
    // reported.
    void menuEntriesOpenTheirTargets() {
        WindowFixture f;
        f.shell.openSucceeds = f.shell.startSucceeds = false;
        f.state.ParentPath = f.programDirectory() + "/..";
        for (const QMenu* menu : f.window->menuBar()->findChildren<QMenu*>()) {
            QList<QKeySequence> keys;
            for (const QAction* entry : menu->actions())
                if (const QKeySequence key = QKeySequence::mnemonic(entry->text()); !key.isEmpty()) {
                    QVERIFY2(!keys.contains(key), qPrintable(entry->text()));
                    keys << key;
                }
        }
        for (QObject* control : f.window->controls())
            if (auto* entry = qobject_cast<QAction*>(control)) {
                QVERIFY2(entry->isEnabled(), qPrintable(entry->objectName()));
                if (!entry->menu() &&
                    entry->objectName().contains(QRegularExpression("^mnu(Web|Help)(?!Email|About)")))
                    entry->trigger();
            }
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

    // Made once, hidden by OK: the second opening shows the same dialog with the name still once.
    void aboutNamesTheProgramOnceAcrossOpenings() {
        WindowFixture f;
        for (int opening = 0; opening < 2; ++opening)
            openAndPress(f, "mnuHelpAbout", "cmdOkay", [&](QDialog* about) {
                QCOMPARE(contents(about), expectedLines("app/about.txt"));
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
                QCOMPARE(contents(email), expectedLines("app/email.txt"));
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

    // Every pass starts from the capture, so a detour leaves nothing behind. Nothing changes below
    // 2000 x 1500 or past a float's range. A failed capture reports.
    void eachRowScalesWhatItNamesFromTheCapture() {
        FakeWindow w;
        w["Label"].refused = {P::Top};
        w.controls.emplaceBack("CheckBox", box); // came after the capture
        w.scale({2000, 1500});
        QCOMPARE(w["TextBox"].values, rect(200, 150, 400, 90, 2));
        for (const QSizeF size : {QSizeF(1e39, 6000), QSizeF(1999, 1500), QSizeF(2000, 1499)})
            w.scale(size);
        QCOMPARE(w["TextBox"].values, rect(200, 600, 400, 360, 8));
        w.scale({18000, 9000});
        for (const auto& [type, captured, scaled] : kinds)
            QVERIFY2(w[type].values == scaled, type);
        QCOMPARE(w["CheckBox"].values, box);
        w.controls.emplace(1, "Shape", Values{{P::Left, 5}}); // has no Top
        QCOMPARE(w.capture(), 438);
        // The failed capture kept what came before the failing control, and nothing after it.
        w.scale({18000, 6000});
        QCOMPARE(w["PictureBox"].values[P::Left], 1800.0);
        QCOMPARE(w["TextBox"].values[P::Width], 0.0);
        w.size.setHeight(0);
        QCOMPARE(w.capture(), 11);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
