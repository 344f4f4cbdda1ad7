#include "ui/qt/mainwindow.h"

#include <QAction>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "core/generator.h"
#include "fakes/fakeclipboard.h"
#include "fakes/fakedialogs.h"
#include "fakes/fakemessageboxes.h"
#include "fakes/fakescreen.h"
#include "fakes/fakeurlopener.h"
#include "platform/files.h"
#include "platform/qt/qtdialogs.h"
#include "ui/messages.h"
#include "ui/qt/boxedit.h"
#include "ui/qt/captionframe.h"

using namespace velmora;

Q_DECLARE_METATYPE(FakeClipboard::Fault)

namespace {

const std::string kShopUrl = "https://shop.example.com/velmora";

QString q(std::u16string_view text) { return QString::fromStdU16String(std::u16string(text)); }

}  // namespace

/** The colours of an image's leftmost column, where a marked box's frame is. */
QSet<QRgb> leftEdge(const QImage &image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        colours.insert((image.pixel(0, y) & 0xFFFFFFu) | 0xFF000000u);
    }
    return colours;
}

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    FakeClipboard m_clipboard;
    FakeMessageBoxes m_messages;
    FakeUrlOpener m_opener;
    FakeScreen m_screen;
    FakeDialogs m_dialogs;
    std::unique_ptr<MainWindow> m_window;

    template <typename T = QWidget>
    T *widget(const std::string &id) {
        auto *found = qobject_cast<T *>(m_window->control(id));
        if (found == nullptr) {
            qFatal("no widget %s", id.c_str());
        }
        return found;
    }

    void clickGenerate() { QTest::mouseClick(widget("Command2"), Qt::LeftButton); }

    void verifyOnlyMessage(std::u16string_view caption, std::u16string_view prompt) {
        QCOMPARE(m_messages.shown.size(), 1U);
        QCOMPARE(q(m_messages.shown[0].caption), q(caption));
        QCOMPARE(q(m_messages.shown[0].prompt), q(prompt));
    }

private Q_SLOTS:
    void init() {
        m_clipboard = FakeClipboard{};
        m_messages = FakeMessageBoxes{};
        m_opener = FakeUrlOpener{};
        m_screen = FakeScreen{};
        m_dialogs = FakeDialogs{};
        m_window = std::make_unique<MainWindow>(
            FormServices{m_clipboard, m_messages, m_opener, m_dialogs}, m_screen, kShopUrl);
    }

    void cleanup() { m_window.reset(); }

    void controlsMatchTheTable_data() {
        QTest::addColumn<QString>("id");
        for (const ControlDef &control : windowControls()) {
            const std::string id = controlId(control);
            QTest::newRow(id.c_str()) << QString::fromStdString(id);
        }
    }

    void controlsMatchTheTable() {
        QFETCH(QString, id);
        const ControlDef &def = controlById(id.toStdString());
        QWidget *built = m_window->control(id.toStdString());
        if (!def.visible) {
            QVERIFY2(built == nullptr, "hidden controls are not built");
            return;
        }
        QVERIFY(built != nullptr);
        QCOMPARE(built->geometry(),
                 QRect(pixels(def.left), pixels(def.top), pixels(def.width), pixels(def.height)));
        QCOMPARE(built->parentWidget(), def.container.empty()
                                            ? m_window.get()
                                            : m_window->control(std::string(def.container)));
        QVERIFY(!built->isHidden());
        if (auto *label = qobject_cast<QLabel *>(built)) {
            QCOMPARE(label->text(), q(def.text));
            QCOMPARE(bool(label->alignment() & Qt::AlignRight), def.align == TextAlign::Right);
            const QColor expected = def.colour == TextColour::Red
                                        ? QColor(Qt::red)
                                        : QApplication::palette().color(QPalette::WindowText);
            QCOMPARE(label->palette().color(QPalette::WindowText), expected);
        } else if (auto *box = qobject_cast<QLineEdit *>(built)) {
            QCOMPARE(box->text(), q(def.text));
        } else if (auto *button = qobject_cast<QPushButton *>(built)) {
            QCOMPARE(button->text(), q(def.text));
        } else if (auto *frame = qobject_cast<CaptionFrame *>(built)) {
            QCOMPARE(frame->caption(), q(def.text));
            QCOMPARE(frame->captionColour(), QColor(Qt::blue));
        }
    }

    void windowIsFixedAtItsClientSize() {
        QCOMPARE(m_window->size(), QSize(732, 441));
        QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
        QVERIFY(!(m_window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Velmora"));
        QVERIFY(!m_window->windowIcon().isNull());
    }

    void captionsFitAndHaveGlyphs_data() {
        QTest::addColumn<QString>("id");
        for (const ControlDef &control : windowControls()) {
            if (control.visible && control.kind != ControlKind::TextBox) {
                const std::string id = controlId(control);
                QTest::newRow(id.c_str()) << QString::fromStdString(id);
            }
        }
    }

    void captionsFitAndHaveGlyphs() {
        QFETCH(QString, id);
        const ControlDef &def = controlById(id.toStdString());
        QWidget *built = m_window->control(id.toStdString());
        const QFontMetrics metrics(built->font());
        const QString text = q(def.text);
        for (const QChar c : text) {
            QVERIFY2(metrics.inFont(c), qPrintable(QStringLiteral("no glyph for ") + c));
        }
        int room = built->width();
        if (def.kind == ControlKind::Button) {
            room -= 8;  // the button's bevel
        }
        QVERIFY2(metrics.horizontalAdvance(text) <= room,
                 qPrintable(QStringLiteral("%1 needs %2 px, has %3")
                                .arg(id)
                                .arg(metrics.horizontalAdvance(text))
                                .arg(room)));
        QVERIFY(metrics.height() <= built->height());
    }

    void focusStartsOnGenerateAndTabWalksTheTable() {
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QCOMPARE(QApplication::focusWidget(), widget("Command2"));
        const QStringList expected{"Text4(4)", "Text4(1)",  "Text4(6)",  "Text4(8)", "Text4(10)",
                                   "Text7",    "Text1",     "Text2",     "Command1", "Text4(2)",
                                   "Text4(7)", "Text4(16)", "Text4(11)", "Label3",   "Command2"};
        for (const QString &next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), next);
        }
    }

    void keysPressAFocusedButton_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("question");
        for (const auto &[name, key] :
             {std::pair{"Space", Qt::Key_Space}, std::pair{"Return", Qt::Key_Return},
              std::pair{"Enter", Qt::Key_Enter}}) {
            QTest::addRow("Generate-%s", name) << "Command2" << int(key) << false;
            QTest::addRow("Clear-%s", name) << "Command1" << int(key) << true;
        }
    }

    void keysPressAFocusedButton() {
        QFETCH(QString, button);
        QFETCH(int, key);
        QFETCH(bool, question);
        m_messages.answerYes = false;
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QWidget *target = widget(button.toStdString());
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key));
        QCOMPARE(m_messages.shown.size(), 1U);
        QCOMPARE(m_messages.shown[0].question, question);
    }

    void generatePutsTheCoreTextOnTheClipboard() {
        auto *navText = widget<QLineEdit>("Text4(2)");
        navText->clear();
        QTest::keyClicks(navText, QStringLiteral("#333333"));
        auto *image = widget<QLineEdit>("Text1");
        QTest::keyClicks(image, QStringLiteral("https://img.example/"));
        image->insert(QStringLiteral("二级.jpg"));  // typed through an input method
        clickGenerate();

        StyleValues expected = startValues();
        expected.slot(2) = u"#333333";
        expected.images[1] = u"https://img.example/二级.jpg";
        QCOMPARE(q(m_clipboard.contents), q(generateCss(expected)));
        QCOMPARE(m_clipboard.sets, 1);
        verifyOnlyMessage(messages::kCopiedCaption, messages::kCopiedPrompt);
    }

    void hiddenSlotsKeepTheirValuesAcrossGenerates() {
        clickGenerate();
        clickGenerate();
        QCOMPARE(q(m_window->form().output()), q(generateCss(startValues())));
        QVERIFY(m_window->form().output().find(u"url(Text4)") != std::u16string::npos);
        QCOMPARE(m_window->form().values(), startValues());
    }

    void longTextIsNeverCut_data() {
        QTest::addColumn<bool>("pasted");
        QTest::newRow("inserted") << false;  // as an input method or a text drop does
        QTest::newRow("pasted") << true;
    }

    void longTextIsNeverCut() {
        QFETCH(bool, pasted);
        const QString longAddress =
            QStringLiteral("https://img.example/") + QString(100000, QLatin1Char('x'));
        auto *box = widget<BoxEdit>("Text4(1)");
        box->setFocus();
        box->selectAll();
        if (pasted) {
            QApplication::clipboard()->setText(longAddress);
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        } else {
            box->insert(longAddress);
        }
        QCOMPARE(box->value(), longAddress);
        QVERIFY2(box->isShortened(), "a value this long is shown shortened, never laid out");
        QCOMPARE(q(m_window->form().values().slot(1)), longAddress);
        clickGenerate();
        QVERIFY(QString::fromStdU16String(m_clipboard.contents)
                    .contains(QStringLiteral("url(") + longAddress + QStringLiteral(")")));

        QApplication::clipboard()->clear();
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), longAddress);
        QTest::keyClick(box, Qt::Key_A);  // typing replaces the whole value
        QCOMPARE(q(m_window->form().values().slot(1)), QStringLiteral("a"));
        QVERIFY(!box->isShortened());
        QVERIFY(!box->isReadOnly());
    }

    /** A value of 70,027 characters, shown shortened, in an image box as an owner puts it. */
    QString putLongValue(BoxEdit *box) {
        const QString value = QStringLiteral("https://img.alicdn.com/") + QString(70004, 'x');
        box->selectAll();
        box->insert(value);  // as a text drop does
        return value;
    }

    /** Ctrl+Z in box, again while it helps, until the box holds value (at most ten times). */
    void undoUntil(BoxEdit *box, const QString &value) {
        for (int i = 0; i < 10 && box->value() != value; ++i) {
            QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        }
        QCOMPARE(box->value(), value);
        QCOMPARE(q(m_window->form().values().slot(1)), value);
    }

    void ctrlZTakesBackWhatVelmoraPutsIn_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("longBefore");
        QTest::newRow("double click") << "pick" << false;
        QTest::newRow("made image") << "make" << false;
        QTest::newRow("dropped image") << "drop" << false;
        QTest::newRow("double click on a long value") << "pick" << true;
    }

    void ctrlZTakesBackWhatVelmoraPutsIn() {
        QFETCH(QString, how);
        QFETCH(bool, longBefore);
        std::string error;
        const std::filesystem::path folder = *makePrivateFolder(error);
        auto *box = widget<BoxEdit>("Text4(1)");
        QString before = QStringLiteral("https://img.alicdn.com/bar.png");
        box->selectAll();
        box->insert(before);
        if (longBefore) {
            before = putLongValue(box);
        }
        m_dialogs.colour = Rgb{255, 255, 255};
        m_dialogs.file = folder / "made.png";
        const std::filesystem::path image = folder / "dropped.gif";
        QVERIFY(writeFileAtomically(image, "GIF89a\x01\0\x01\0", error));
        if (how == "pick") {
            QTest::mouseDClick(box, Qt::LeftButton);
        } else if (how == "make") {
            m_window->form().trigger(Command::MakeImage, 0);
        } else {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(QString::fromStdU16String(image.u16string()))});
            QDropEvent drop(QPointF(box->mapTo(m_window.get(), QPoint(5, 5))), Qt::CopyAction,
                            &data, Qt::LeftButton, Qt::NoModifier);
            static_cast<QObject *>(m_window.get())->event(&drop);
        }
        QVERIFY(box->value() != before);
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box->value(), before);
        QCOMPARE(box->isShortened(), longBefore);
        QCOMPARE(q(m_window->form().values().slot(1)), before);
        std::filesystem::remove_all(folder);
    }

    void longValueEditsAreTypedAndTakenBackWhole_data() {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        QTest::newRow("End, Backspace")
            << QList<int>{Qt::Key_End, Qt::Key_Backspace} << QString() << QString();
        QTest::newRow("Delete") << QList<int>{Qt::Key_Delete} << QString() << QString();
        QTest::newRow("colour typed over") << QList<int>{} << "#C40000"
                                           << "#C40000";
        QTest::newRow("address typed over") << QList<int>{} << "https://img.alicdn.com/a.png"
                                            << "https://img.alicdn.com/a.png";
    }

    void longValueEditsAreTypedAndTakenBackWhole() {
        QFETCH(QList<int>, keys);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        auto *box = widget<BoxEdit>("Text4(1)");
        box->setFocus();
        const QString value = putLongValue(box);
        box->selectAll();
        for (const int key : keys) {
            QTest::keyClick(box, Qt::Key(key));
        }
        QTest::keyClicks(box, typed);
        QCOMPARE(box->value(), after);
        QCOMPARE(q(m_window->form().values().slot(1)), after);
        undoUntil(box, value);
        QVERIFY(box->isShortened());
    }

    // A whole-form change leaves alone the boxes it does not change, their typing included.
    void typingOutlivesAWholeChangeElsewhere() {
        std::string error;
        const std::filesystem::path folder = *makePrivateFolder(error);
        m_dialogs.file = folder / "v.txt";
        QVERIFY(writeFileAtomically(*m_dialogs.file, "slot.16=#222222\n", error));
        auto *box = widget<BoxEdit>("Text4(1)");
        const QString start = box->value();
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("#111111"));
        m_window->form().trigger(Command::OpenValues);
        QCOMPARE(q(m_window->form().values().slot(16)), QStringLiteral("#222222"));
        QTest::mouseClick(box, Qt::LeftButton);
        undoUntil(box, start);
        std::filesystem::remove_all(folder);
    }

    void noDropWhileADialogOfTheWindowIsOpen() {
        std::string error;
        const std::filesystem::path folder = *makePrivateFolder(error);
        const std::filesystem::path file = folder / "v.txt";
        QVERIFY(writeFileAtomically(file, "slot.2=#333333\n", error));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdU16String(file.u16string()))});
        bool entered = true;
        m_messages.answerYes = false;
        m_messages.whileAsking = [&] {
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton,
                                  Qt::NoModifier);
            static_cast<QObject *>(m_window.get())->event(&enter);
            entered = enter.isAccepted();
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            static_cast<QObject *>(m_window.get())->event(&drop);
        };
        QTest::mouseClick(widget("Command1"), Qt::LeftButton);
        QVERIFY2(!entered, "the drag is refused while Clear asks");
        QCOMPARE(m_window->form().values(), startValues());
        std::filesystem::remove_all(folder);
    }

    // The mark is a frame outside the part a colour fills: the marker's own light red typed
    // as a colour is no mark, and a marked colour still shows in the box.
    void markedBoxesHaveAFrameNoColourImitates() {
        auto *lookalike = widget<BoxEdit>("Text4(2)");
        auto *marked = widget<BoxEdit>("Text4(7)");
        for (auto [box, typed] : {std::pair{lookalike, "#FFD6D6"}, std::pair{marked, " #000080"}}) {
            box->selectAll();
            QTest::keyClicks(box, QString::fromLatin1(typed));
        }
        const QImage plain = lookalike->grab().toImage();
        const QImage framed = marked->grab().toImage();
        QVERIFY(leftEdge(framed).contains(BoxEdit::markColour().rgb()));
        QVERIFY(!leftEdge(plain).contains(BoxEdit::markColour().rgb()));
        QCOMPARE(framed.pixelColor(framed.width() - 4, framed.height() / 2), QColor(0, 0, 128));
        QVERIFY(marked->isMarked() && !lookalike->isMarked());
    }

    // The mark shows on whatever colour the box shows: red and white dashes, beside the fill.
    void markShowsOnEveryColour_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QColor>("fill");
        QTest::newRow("frame's own red") << QStringLiteral(" #DC0000") << QColor(220, 0, 0);
        QTest::newRow("white") << QStringLiteral(" #FFFFFF") << QColor(255, 255, 255);
        QTest::newRow("black") << QStringLiteral(" #000000") << QColor(0, 0, 0);
        QTest::newRow("marker's light red") << QStringLiteral("pink") << QColor(255, 214, 214);
    }
    void markShowsOnEveryColour() {
        QFETCH(QString, typed);
        QFETCH(QColor, fill);
        auto *box = widget<BoxEdit>("Text4(7)");
        box->selectAll();
        QTest::keyClicks(box, typed);
        const QImage shown = box->grab().toImage();
        QCOMPARE(shown.pixelColor(shown.width() - 4, shown.height() / 2), fill);
        const QSet<QRgb> edge = leftEdge(shown);
        QVERIFY(edge.contains(qRgb(220, 0, 0)));
        QVERIFY(edge.contains(qRgb(255, 255, 255)));
    }

    // A box shows the colour the style sheet writes as it looks: a translucent one over white,
    // an image box's colour with a space around it not at all. A hidden slot's text colour that
    // reads poorly is told in the box of its background.
    void boxesShowWhatIsWritten_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("hidden");  // a hidden slot's box given #FEFEFE first, or -1
        QTest::addColumn<QColor>("fill");
        QTest::addColumn<QString>("reason");  // a part of the tooltip
        QTest::newRow("translucent")
            << "Text7"
            << "rgba(196,0,0,0.5)" << -1 << QColor(225, 127, 127) << "不透明度 50%";
        QTest::newRow("spaced image colour")
            << "Text1"
            << "#C40000 " << -1 << QColor(255, 214, 214) << q(messages::kProblemSpacedColour);
        QTest::newRow("hidden text colour")
            << "Text4(6)"
            << "#FFFFFF" << 8 << QColor(255, 255, 255) << "隐藏的文字颜色 #FEFEFE（第 9 项）";
    }
    void boxesShowWhatIsWritten() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(int, hidden);
        QFETCH(QColor, fill);
        QFETCH(QString, reason);
        if (hidden >= 0) {
            m_window->form().textEdited(hidden, u"#FEFEFE");
        }
        auto *edit = widget<BoxEdit>(box.toStdString());
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        const QImage shown = edit->grab().toImage();
        QCOMPARE(shown.pixelColor(shown.width() - 4, shown.height() / 2), fill);
        QVERIFY2(edit->toolTip().contains(reason), qPrintable(edit->toolTip()));
    }

    // Qt's own words in the window (a box's edit menu, the file and colour dialogs) are Chinese.
    void qtTextsAreChinese() {
        // What main() calls; e2e_accessibility.py checks that the started program does.
        MainWindow::prepareApplication();
        const std::unique_ptr<QMenu> menu(widget<BoxEdit>("Text4(2)")->createStandardContextMenu());
        QStringList entries;
        for (QAction *action : menu->actions()) {
            if (!action->isSeparator()) entries << action->text();
        }
        entries << QFileDialog::tr("File &name:") << QColorDialog::tr("&Basic colors");
        for (const QString &entry : entries) {
            QVERIFY2(std::any_of(entry.begin(), entry.end(),
                                 [](QChar c) { return c.script() == QChar::Script_Han; }),
                     qPrintable(entry + " (not loaded at start, or not installed)"));
        }
    }

    void clipboardFaultsGiveTheErrorMessage_data() {
        QTest::addColumn<FakeClipboard::Fault>("fault");
        QTest::addColumn<int>("dropFirstSets");
        QTest::addColumn<bool>("copied");
        QTest::addColumn<int>("attempts");
        using F = FakeClipboard::Fault;
        QTest::newRow("works") << F::None << 0 << true << 1;
        QTest::newRow("lands-on-the-fourth-try") << F::None << 3 << true << 4;
        QTest::newRow("never-lands") << F::DropsText << 0 << false << kMaxCopyAttempts;
        QTest::newRow("another-program-writes")
            << F::OtherProgramWrites << 0 << false << kMaxCopyAttempts;
        QTest::newRow("clear-fails") << F::ClearFails << 0 << false << 1;
        QTest::newRow("set-fails") << F::SetFails << 0 << false << 1;
        QTest::newRow("read-fails") << F::ReadFails << 0 << false << 1;
    }

    void clipboardFaultsGiveTheErrorMessage() {
        QFETCH(FakeClipboard::Fault, fault);
        QFETCH(int, dropFirstSets);
        QFETCH(bool, copied);
        QFETCH(int, attempts);
        m_clipboard.fault = fault;
        m_clipboard.dropFirstSets = dropFirstSets;
        widget<QLineEdit>("Text4(7)")->setText(QStringLiteral("#123456"));
        const StyleValues before = m_window->form().values();
        clickGenerate();
        QCOMPARE(m_clipboard.clears, attempts);
        if (copied) {
            verifyOnlyMessage(messages::kCopiedCaption, messages::kCopiedPrompt);
        } else {
            verifyOnlyMessage(messages::kCopyFailedCaption, messages::kCopyFailedPrompt);
        }
        QCOMPARE(m_window->form().values(), before);
    }

    void aFailingCommandIsReportedAndTheWindowCarriesOn() {
        m_clipboard.fault = FakeClipboard::Fault::Throws;
        const StyleValues before = m_window->form().values();
        clickGenerate();
        QCOMPARE(m_messages.shown.size(), 1U);
        QCOMPARE(q(m_messages.shown[0].caption), q(messages::kErrorCaption));
        QVERIFY(q(m_messages.shown[0].prompt)
                    .endsWith(QStringLiteral("the clipboard service went away")));
        QCOMPARE(m_window->form().values(), before);
        m_clipboard.fault = FakeClipboard::Fault::None;
        clickGenerate();
        QCOMPARE(q(m_messages.shown.back().caption), q(messages::kCopiedCaption));
    }

    void clear_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }

    void clear() {
        QFETCH(bool, yes);
        m_messages.answerYes = yes;
        widget<QLineEdit>("Text7")->insert(QStringLiteral("a"));  // as typing does
        widget<QLineEdit>("Text1")->insert(QStringLiteral("b"));
        widget<QLineEdit>("Text2")->insert(QStringLiteral("c"));
        const StyleValues before = m_window->form().values();
        QTest::mouseClick(widget("Command1"), Qt::LeftButton);
        QCOMPARE(m_messages.shown.size(), 1U);
        QVERIFY(m_messages.shown[0].question);
        QCOMPARE(q(m_messages.shown[0].caption), q(messages::kClearCaption));
        QCOMPARE(q(m_messages.shown[0].prompt), q(messages::kClearPrompt));
        StyleValues expected = before;
        if (yes) {
            clearValues(expected);
        }
        QCOMPARE(m_window->form().values(), expected);
        for (const ControlDef &control : windowControls()) {
            if (auto *box = qobject_cast<QLineEdit *>(m_window->control(controlId(control)))) {
                QCOMPARE(box->text().isEmpty(), yes);
            }
        }
        clickGenerate();
        QCOMPARE(q(m_clipboard.contents), q(generateCss(expected)));
    }

    void shopLink_data() {
        QTest::addColumn<bool>("opens");
        QTest::newRow("browser-opens") << true;
        QTest::newRow("no-browser") << false;
    }

    void shopLink() {
        QFETCH(bool, opens);
        m_opener.works = opens;
        auto *link = widget<QLabel>("Label3");
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        const StyleValues before = m_window->form().values();
        for (int click = 1; click <= 3; ++click) {
            QTest::mouseClick(link, Qt::LeftButton);
        }
        link->setFocus();  // and from the keyboard
        QTest::keyClick(link, Qt::Key_Space);
        QTest::keyClick(link, Qt::Key_Return);
        QCOMPARE(m_opener.opened, std::vector<std::string>(5, kShopUrl));
        QCOMPARE(m_messages.shown.size(), opens ? 0U : 5U);
        if (!opens) {
            QVERIFY(q(m_messages.shown[0].prompt).endsWith(QString::fromStdString(kShopUrl)));
        }
        QCOMPARE(m_window->form().values(), before);
    }

    void importFromTheClipboard_data() {
        QTest::addColumn<bool>("navigationCode");
        QTest::newRow("navigation-code") << true;
        QTest::newRow("other-text") << false;
    }

    void importFromTheClipboard() {
        QFETCH(bool, navigationCode);
        StyleValues made = startValues();
        made.slot(2) = u"#123456";
        made.slot(9) = u"orange";  // hidden
        m_clipboard.contents = navigationCode ? generateCss(made) : u"body{color:red}";
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QTest::keyClick(widget("Text4(1)"), Qt::Key_I, Qt::ControlModifier);
        if (navigationCode) {
            QCOMPARE(m_window->form().values(), made);
            QCOMPARE(widget<QLineEdit>("Text4(2)")->text(), QStringLiteral("#123456"));
            QCOMPARE(m_messages.shown.size(), 0U);
        } else {
            QCOMPARE(m_window->form().values(), startValues());
            QCOMPARE(m_messages.shown.size(), 1U);
            QCOMPARE(q(m_messages.shown[0].caption), q(messages::kImportFailedCaption));
        }
    }

    void shortcutsAndMenusReachTheForm() {
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QTest::keyClick(widget("Text7"), Qt::Key_F5);  // wherever the focus is
        QCOMPARE(m_opener.opened.size(), 1U);
        QVERIFY(QString::fromStdString(m_opener.opened[0]).startsWith("file://"));
        m_dialogs.file.reset();
        QTest::keyClick(widget("Command2"), Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(widget("Command2"), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(m_dialogs.fileAsked, (std::vector<bool>{true, false}));
        QStringList entries;
        for (QAction *action : m_window->actions()) {
            entries << action->text() + QLatin1Char(' ') + action->shortcut().toString();
        }
        QCOMPARE(entries,
                 (QStringList{"预览 F5", "导入代码 Ctrl+I", "打开方案… Ctrl+O", "保存方案… Ctrl+S",
                              "配色方案 ", "撤销整体修改 Ctrl+Alt+Z"}));
        QCOMPARE(m_window->contextMenuPolicy(), Qt::ActionsContextMenu);
        // The whole-form undo: greyed until Clear, then named for it; its keys work in a box,
        // whose own Ctrl+Z stays its own.
        QAction *undo = m_window->actions().constLast();
        QVERIFY(!undo->isEnabled());
        m_messages.answerYes = true;
        QTest::mouseClick(widget("Command1"), Qt::LeftButton);
        QCOMPARE(undo->text(), QStringLiteral("撤销整体修改（清空）"));
        QVERIFY(undo->isEnabled());
        QTest::keyClick(widget("Text4(2)"), Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(m_window->form().values(), startValues());
        QCOMPARE(widget<QLineEdit>("Text4(2)")->text(), QStringLiteral("#FFFFFF"));
        QVERIFY(!undo->isEnabled());
        // A double click opens the colour dialog on a colour box and on an image box alike; the
        // image box gets the colour, with no file and no save dialog.
        m_dialogs.colour = Rgb{1, 2, 3};
        QTest::mouseDClick(widget("Text4(7)"), Qt::LeftButton);
        QCOMPARE(m_dialogs.colourAsked.size(), 1U);
        QCOMPARE(widget<QLineEdit>("Text4(7)")->text(), QStringLiteral("#010203"));
        QCOMPARE(widget<QLineEdit>("Text4(7)")->palette().color(QPalette::Base), QColor(1, 2, 3));
        QCOMPARE(widget<QLineEdit>("Text4(7)")->palette().color(QPalette::Text), QColor(Qt::white));
        m_dialogs.colour = Rgb{0xC4, 0, 0};
        QTest::mouseDClick(widget("Text4(1)"), Qt::LeftButton);
        QCOMPARE(m_dialogs.colourAsked.size(), 2U);
        QCOMPARE(m_dialogs.colourAsked[1], (Rgb{1, 2, 3}));  // the colour chosen last
        QVERIFY(m_dialogs.saveAsked.empty());
        QCOMPARE(widget<QLineEdit>("Text4(1)")->text(), QStringLiteral("#C40000"));
        QCOMPARE(widget<QLineEdit>("Text4(1)")->palette().color(QPalette::Base),
                 QColor(0xC4, 0, 0));
        // The palettes' submenu: each palette by name with its swatch (经典红: its bar, its text,
        // a grey frame), then a look from a brand colour (every hue); either fills the boxes as
        // one change.
        auto *palettes = m_window->findChild<QMenu *>(QStringLiteral("palettes"));
        QVERIFY(palettes != nullptr);
        QStringList names;
        for (QAction *action : palettes->actions()) {
            names << action->text();
            QCOMPARE(action->icon().isNull(), action->isSeparator());
        }
        QCOMPARE(names,
                 (QStringList{"经典红", "活力橙", "清新绿", "商务蓝", "深海蓝", "典雅紫", "樱花粉",
                              "黑金", "高级灰", "咖啡棕", "薄荷青", "柠檬黄", "", "按主色生成…"}));
        const QImage swatch = palettes->actions().constFirst()->icon().pixmap(16, 16).toImage();
        QCOMPARE(swatch.pixelColor(2, 8), QColor(0xC4, 0x00, 0x00));
        QCOMPARE(swatch.pixelColor(13, 8), QColor(0xFF, 0xFF, 0xFF));
        QCOMPARE(swatch.pixelColor(0, 0), QColor(128, 128, 128));
        const QImage hues = palettes->actions().constLast()->icon().pixmap(16, 16).toImage();
        QCOMPARE(hues.pixelColor(1, 8), QColor(255, 0, 0));
        QCOMPARE(hues.pixelColor(6, 8), QColor(0, 255, 36));
        palettes->actions().constFirst()->trigger();
        QCOMPARE(widget<QLineEdit>("Text4(1)")->text(), QStringLiteral("#C40000"));
        QCOMPARE(widget<QLineEdit>("Text2")->text(), QStringLiteral("#6B0000"));
        QCOMPARE(undo->text(), QStringLiteral("撤销整体修改（配色方案）"));
        QTest::keyClick(widget("Text4(2)"), Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(widget<QLineEdit>("Text2")->text(), QString());
        m_dialogs.colour = Rgb{0x12, 0x34, 0x56};
        palettes->actions().constLast()->trigger();
        QCOMPARE(widget<QLineEdit>("Text4(1)")->text(), QStringLiteral("#123456"));
    }

    void imageBoxesMakeBackgroundsAndTakeDroppedImages() {
        std::string error;
        const std::filesystem::path folder = *makePrivateFolder(error);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        m_dialogs.colour = Rgb{0xFF, 0x66, 0x00};
        const std::filesystem::path image = folder / "店招.gif";
        QVERIFY(writeFileAtomically(image, "GIF89a\x01\0\x01\0", error));
        for (const char *id : {"Text4(1)", "Text4(4)", "Text4(6)", "Text4(8)", "Text4(10)", "Text7",
                               "Text1", "Text2"}) {
            // The menu's last entry makes the background.
            auto *box = widget<QLineEdit>(id);
            m_dialogs.file = folder / (std::string(id) + ".png");
            QString last, beforeLast;
            QTimer::singleShot(0, this, [&last, &beforeLast] {
                auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
                if (menu != nullptr) {
                    last = menu->actions().constLast()->text();
                    beforeLast = menu->actions().at(menu->actions().size() - 2)->text();
                    menu->actions().constLast()->trigger();
                    menu->close();
                }
            });
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                    box->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(box, &event);
            QCOMPARE(last, QStringLiteral("制作背景图…"));
            QCOMPARE(beforeLast, QStringLiteral("选择颜色…"));
            QVERIFY2(std::filesystem::file_size(*m_dialogs.file) > 0, id);
            QCOMPARE(box->text(), QString::fromStdString(fileUrl(*m_dialogs.file)));
            QCOMPARE(box->toolTip(), q(messages::kProblemLocalFile) +
                                         QStringLiteral("\n本机文件：") +
                                         QString::fromStdString(m_dialogs.file->string()));
            QCOMPARE(box->palette().color(QPalette::Base), QColor(255, 214, 214));

            // A dropped image lands in the box it is dropped on.
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(QString::fromStdU16String(image.u16string()))});
            QDropEvent drop(QPointF(box->mapTo(m_window.get(), QPoint(5, 5))), Qt::CopyAction,
                            &data, Qt::LeftButton, Qt::NoModifier);
            // Straight to the window: the application passes on only drops it dragged in.
            static_cast<QObject *>(m_window.get())->event(&drop);
            QCOMPARE(box->text(), QString::fromStdString(fileUrl(image)));
        }
        QCOMPARE(m_dialogs.saveAsked.size(), 8U);
        QCOMPARE(q(m_dialogs.saveAsked[1].second), QStringLiteral("鼠标移至导航背景-FF6600.png"));
        QVERIFY(m_messages.shown.empty());

        // Every file of a drop reaches the form: the values file is read, the image is told of.
        const std::filesystem::path values = folder / "v.txt";
        QVERIFY(writeFileAtomically(values, "slot.2=#123456\n", error));
        QMimeData both;
        both.setUrls({QUrl::fromLocalFile(QString::fromStdU16String(image.u16string())),
                      QUrl::fromLocalFile(QString::fromStdU16String(values.u16string()))});
        auto *colourBox = widget<QLineEdit>("Text4(2)");
        QDropEvent drop(QPointF(colourBox->mapTo(m_window.get(), QPoint(5, 5))), Qt::CopyAction,
                        &both, Qt::LeftButton, Qt::NoModifier);
        static_cast<QObject *>(m_window.get())->event(&drop);
        QCOMPARE(colourBox->text(), QStringLiteral("#123456"));
        QCOMPARE(m_messages.shown.size(), 1U);
        QVERIFY(m_messages.shown[0].prompt.find(messages::kDropImageElsewhere) !=
                std::u16string::npos);
        std::filesystem::remove_all(folder);
    }

    void smallScreenScrollsToEveryControl() {
        m_screen.whole = {0, 0, 640, 480};
        m_screen.available = {0, 0, 640, 480};
        m_window->centreOnScreen();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QVERIFY(m_window->width() <= 640 && m_window->height() <= 480);
        QCOMPARE(QApplication::focusWidget(), widget("Command2"));
        for (const ControlDef *def : tabOrder()) {
            QWidget *control = widget(controlId(*def));
            control->setFocus();
            QApplication::processEvents();
            const QRect shown(control->mapTo(m_window.get(), QPoint(0, 0)), control->size());
            QVERIFY2(m_window->rect().contains(shown), controlId(*def).c_str());
            QCOMPARE(control->geometry(), QRect(pixels(def->left), pixels(def->top),
                                                pixels(def->width), pixels(def->height)));
        }
    }

    void centring_data() {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("full-hd") << QRect(0, 0, 1920, 1080) << QRect(0, 0, 1920, 1040)
                                 << QPoint(594, 320);
        QTest::newRow("second-screen")
            << QRect(1920, 0, 1280, 1024) << QRect(1920, 0, 1280, 1024) << QPoint(2194, 292);
        QTest::newRow("smaller-than-window")
            << QRect(0, 0, 640, 400) << QRect(0, 24, 640, 376) << QPoint(0, 24);
    }

    void centring() {
        QFETCH(QRect, screen);
        QFETCH(QRect, available);
        QFETCH(QPoint, expected);
        m_screen.whole = {screen.x(), screen.y(), screen.width(), screen.height()};
        m_screen.available = {available.x(), available.y(), available.width(), available.height()};
        m_window->centreOnScreen();
        QCOMPARE(m_window->frameGeometry().topLeft(), expected);
    }

    void saveDialogAddsTxtToABareName() {
        std::string error;
        const std::filesystem::path folder = makePrivateFolder(error).value();
        QTimer::singleShot(0, [&folder] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            dialog->setDirectory(QString::fromStdString(folder.native()));
            dialog->selectFile(QStringLiteral("shop1"));
            static_cast<QDialog *>(dialog)->accept();  // as its Save button does
        });
        QtDialogs dialogs;
        const std::optional<std::filesystem::path> chosen =
            dialogs.chooseFile(u"保存方案", std::u16string(messages::kValuesFilter), true);
        std::filesystem::remove_all(folder);
        QVERIFY(chosen.has_value());
        QCOMPARE(QString::fromStdString(chosen->filename().native()), QStringLiteral("shop1.txt"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
