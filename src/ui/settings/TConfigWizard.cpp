// The configuration wizard.
#include "TConfigWizard.h"

#include "TProgramSettings.h"
#include "app/MainSound.h"
#include "app/Program.h"
#include "app/Style.h"
#include "app/TKalvintorMain.h"
#include "app/Texts.h"
#include "settings/GeneralMidi.h"
#include "sound/Microphone.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace kalvintor::ui {

namespace {

constexpr int kNameRoom = 47;  // the settings' device names

// A word-wrapped text that follows the language chosen on the first page.
QLabel* explanation(int id, const char* english, QWidget* parent) {
    auto* label = new QLabel(text(id, english), parent);
    label->setWordWrap(true);
    bindCaption(label, id);
    return label;
}

QWidget* makePage(QWidget* parent, const char* name, int titleId, const char* title) {
    auto* w = new QWidget(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setWindowTitle(text(titleId, title));
    bindWindowTitle(w, titleId);
    return w;
}

QComboBox* combo(const char* name, const QString& accessible, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(accessible);
    return box;
}

}  // namespace

TConfigWizard::TConfigWizard(TKalvintorMain& main, const app::WizardPlan& plan, QWidget* parent)
    : QDialog(parent),
      ComboBox1(nullptr),
      SpeedButton4(nullptr),
      LanguageBox(nullptr),
      InputBox(nullptr),
      LastKey(nullptr),
      MicLevel(nullptr),
      MicState(nullptr),
      SpeedButton1(nullptr),
      SpeedButton2(nullptr),
      SpeedButton3(nullptr),
      Button1(new QPushButton(text(5113, "Previous"), this)),
      Button2(new QPushButton(text(5112, "Next"), this)),
      main_(main),
      plan_(plan),
      pages_(new QStackedWidget(this)),
      title_(new QLabel(this)),
      instruments_(new QButtonGroup(this)) {
    setObjectName(QStringLiteral("ConfigWizard"));
    setWindowTitle(QStringLiteral("Kalvintor 4"));
    title_->setObjectName(QStringLiteral("PageTitle"));
    title_->setFont(style::uiFont(13, QFont::Bold));
    QPalette titleInk = title_->palette();
    titleInk.setColor(QPalette::WindowText, style::kNavy);
    title_->setPalette(titleInk);

    pages_->addWidget(makeLanguagePage());
    pages_->addWidget(makeSoundPage());
    pages_->addWidget(makeMidiPage());
    pages_->addWidget(makeMicrophonePage());
    pages_->addWidget(makeInstrumentPage());

    Button1->setObjectName(QStringLiteral("Button1"));
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setDefault(true);
    auto* cancel = new QPushButton(text(93, "Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    bindCaption(cancel, 93);
    bindCaption(Button1, 5113);
    // A language chosen on the first page speaks at once, the page title and the forward button too.
    observeLanguage(this, {}, [this] { showPage(pages_->currentIndex()); });
    connect(Button1, &QPushButton::clicked, this, &TConfigWizard::Back);
    connect(Button2, &QPushButton::clicked, this, &TConfigWizard::Forward);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(style::kGap * 2, style::kGap * 2, style::kGap * 2, style::kGap * 2);
    layout->addWidget(title_);
    layout->addWidget(pages_, 1);
    layout->addLayout(buttons);
    setMinimumSize(520, 340);

    noteOff_.setSingleShot(true);
    noteOff_.setInterval(500);
    connect(&noteOff_, &QTimer::timeout, this, [this] { main_.midiOut().NoteOff(playing_); });
    meter_.setInterval(50);
    connect(&meter_, &QTimer::timeout, this,
            [this] { MicLevel->setValue(app::LevelPercent(main_.sound().micDevice().TakePeak())); });

    showPage(neighbour(-1, 1));
}

TConfigWizard::~TConfigWizard() {
    listen(false);
}

QWidget* TConfigWizard::makeLanguagePage() {
    QWidget* page = makePage(this, "LanguagePage", 8001, "Language");
    LanguageBox = combo("LanguageBox", text(8001, "Language"), page);
    LanguageBox->addItems(baseNames(program().paths.languageDir, QStringLiteral("LAN"), false));
    language_ = QString::fromStdString(main_.Settings.language);
    LanguageBox->setCurrentIndex(LanguageBox->findText(language_, Qt::MatchFixedString));
    connect(LanguageBox, &QComboBox::activated, this, &TConfigWizard::chooseLanguage);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(explanation(8002, "Please choose the language of the program:", page));
    layout->addWidget(LanguageBox);
    layout->addStretch(1);
    return page;
}

QWidget* TConfigWizard::makeSoundPage() {
    QWidget* page = makePage(this, "SoundPage", 5131, "Sound");
    auto* label = explanation(5132,
                              "Please press play to verify that the chosen sound driver produces any "
                              "sound. If not, please choose another driver from the list.",
                              page);
    label->setObjectName(QStringLiteral("Label2"));
    ComboBox1 = combo("ComboBox1", text(7919, "MIDI output device"), page);
    for (const auto& entry : main_.midiOut().Devices())
        if (!entry.placeholder) ComboBox1->addItem(QString::fromStdString(entry.name));
    ComboBox1->setCurrentIndex(
        ComboBox1->findText(QString::fromStdString(main_.Settings.midiOutputDevice), Qt::MatchFixedString));
    connect(ComboBox1, &QComboBox::activated, this, &TConfigWizard::chooseOutput);
    SpeedButton4 = new QToolButton(page);
    SpeedButton4->setObjectName(QStringLiteral("SpeedButton4"));
    SpeedButton4->setText(text(137, "Play"));
    bindCaption(SpeedButton4, 137);
    SpeedButton4->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    SpeedButton4->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    SpeedButton4->setMinimumWidth(90);
    connect(SpeedButton4, &QToolButton::clicked, this, &TConfigWizard::play);
    auto* row = new QHBoxLayout;
    row->addWidget(ComboBox1, 1);
    row->addWidget(SpeedButton4);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(label);
    layout->addLayout(row);
    layout->addStretch(1);
    return page;
}

QWidget* TConfigWizard::makeMidiPage() {
    QWidget* page = makePage(this, "MidiInputPage", 8003, "MIDI keyboard");
    InputBox = combo("InputBox", text(7918, "MIDI input device"), page);
    for (const auto& entry : main_.sound().midiIn().Devices())
        InputBox->addItem(QString::fromStdString(entry.name));
    const int current =
        InputBox->findText(QString::fromStdString(main_.Settings.midiInputDevice), Qt::MatchFixedString);
    // No device chosen yet: the "none" entry, the table's last.
    InputBox->setCurrentIndex(current >= 0 ? current : InputBox->count() - 1);
    connect(InputBox, &QComboBox::activated, this, &TConfigWizard::chooseInput);
    LastKey = new QLabel(text(8006, "No key received yet."), page);
    LastKey->setObjectName(QStringLiteral("LastKey"));
    LastKey->setFont(style::uiFont(12, QFont::Bold));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(explanation(8004,
                                  "Choose your MIDI keyboard and press a key on it to test it. "
                                  "Choose \"none\" when you have none.",
                                  page));
    layout->addWidget(InputBox);
    layout->addWidget(LastKey);
    layout->addStretch(1);
    return page;
}

QWidget* TConfigWizard::makeMicrophonePage() {
    QWidget* page = makePage(this, "MicrophonePage", 8007, "Microphone");
    MicLevel = new QProgressBar(page);
    MicLevel->setObjectName(QStringLiteral("MicLevel"));
    MicLevel->setAccessibleName(text(8009, "Microphone level"));
    MicLevel->setRange(0, 100);
    MicLevel->setValue(0);
    MicLevel->setTextVisible(false);
    MicState = new QLabel(page);
    MicState->setObjectName(QStringLiteral("MicState"));
    MicState->setWordWrap(true);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(
        explanation(8008, "Speak or sing into the microphone: the bar shows the level it hears.", page));
    layout->addWidget(MicLevel);
    layout->addWidget(MicState);
    layout->addStretch(1);
    return page;
}

QWidget* TConfigWizard::makeInstrumentPage() {
    QWidget* page = makePage(this, "TabSheet1", 5125, "Instrument");
    auto* label = explanation(
        5126, "Please choose which instrument you prefer to use on the screen to enter notes:", page);
    label->setObjectName(QStringLiteral("Label1"));
    auto* row = new QHBoxLayout;
    const struct {
        QToolButton** button;
        const char* name;
        int id;
        const char* english;
        std::uint8_t instrument;
    } choices[] = {{&SpeedButton1, "SpeedButton1", 5127, "Piano", app::kWizardPiano},
                   {&SpeedButton2, "SpeedButton2", 5128, "Guitar", app::kWizardGuitar},
                   {&SpeedButton3, "SpeedButton3", 5129, "Other", app::kWizardOther}};
    instruments_->setExclusive(true);
    for (const auto& c : choices) {
        auto* b = new QToolButton(page);
        b->setObjectName(QString::fromLatin1(c.name));
        b->setText(text(c.id, c.english));
        bindCaption(b, c.id);
        b->setCheckable(true);
        b->setMinimumSize(110, 48);
        b->setFont(style::uiFont(11));
        instruments_->addButton(b, c.instrument);
        row->addWidget(b);
        *c.button = b;
    }
    row->addStretch(1);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(label);
    layout->addLayout(row);
    layout->addStretch(1);
    return page;
}

app::WizardPage TConfigWizard::ActivePage() const {
    return static_cast<app::WizardPage>(pages_->currentIndex());
}

int TConfigWizard::neighbour(int index, int step) const {
    for (int i = index + step; i >= 0 && i < static_cast<int>(app::kWizardPages); i += step)
        if (plan_.visible[static_cast<std::size_t>(i)]) return i;
    return -1;
}

void TConfigWizard::showPage(int index) {
    if (index < 0) return;
    pages_->setCurrentIndex(index);
    title_->setText(pages_->currentWidget()->windowTitle());
    Button1->setEnabled(neighbour(index, -1) >= 0);
    const bool last = neighbour(index, 1) < 0;
    Button2->setText(last ? text(5115, "Finish") : text(5112, "Next"));
    listen(ActivePage() == app::WizardPage::MidiInput || ActivePage() == app::WizardPage::Microphone);
}

void TConfigWizard::Forward() {
    const int next = neighbour(pages_->currentIndex(), 1);
    if (next < 0) {
        accept();
        return;
    }
    showPage(next);
}

void TConfigWizard::Back() {
    showPage(neighbour(pages_->currentIndex(), -1));
}

void TConfigWizard::done(int result) {
    listen(false);
    if (result == QDialog::Accepted && plan_.shows(app::WizardPage::Instrument)) {
        const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        const int height = screen ? screen->geometry().height() : 768;
        const int checked = instruments_->checkedId();
        app::FinishWizard(main_.Settings,
                          static_cast<std::uint8_t>(checked > 0 ? checked : app::kWizardOther), height);
    }
    QDialog::done(result);
}

void TConfigWizard::chooseLanguage(int index) {
    const QString name = LanguageBox->itemText(index);
    if (name == language_) return;
    // A file that cannot be read is reported by the loader and the previous language stays.
    if (!LoadLanguage(languageFileName(name), language::kLoadAll, this)) {
        LanguageBox->setCurrentIndex(LanguageBox->findText(language_, Qt::MatchFixedString));
        return;
    }
    language_ = name;
    main_.Settings.language = name.left(15).toStdString();
    title_->setText(pages_->currentWidget()->windowTitle());
}

void TConfigWizard::chooseOutput(int index) {
    std::string name = ComboBox1->itemText(index).left(kNameRoom).toStdString();
    // The device opens at once and is kept; one that cannot be opened is reported and not kept.
    if (name != main_.Settings.midiOutputDevice && main_.midiOut().SelectDeviceByName(name))
        main_.Settings.midiOutputDevice = name;
    else
        ComboBox1->setCurrentIndex(ComboBox1->findText(
            QString::fromStdString(main_.Settings.midiOutputDevice), Qt::MatchFixedString));
}

void TConfigWizard::chooseInput(int index) {
    std::string name = InputBox->itemText(index).left(kNameRoom).toStdString();
    const bool none = index == InputBox->count() - 1;
    if (!main_.sound().midiIn().SelectDeviceByName(name)) {
        InputBox->setCurrentIndex(
            InputBox->findText(QString::fromStdString(main_.Settings.midiInputDevice), Qt::MatchFixedString));
        return;
    }
    // A keyboard chosen here is the one the exercises listen to.
    main_.Settings.midiInputDevice = none ? std::string() : name;
    main_.Settings.midiInputEnabled = !none;
    if (main_.MIDIin) main_.MIDIin->setChecked(!none);
    listen(true);
}

void TConfigWizard::play() {
    const settings::TSoundRec piano = main_.Settings.pianoVoice;
    playing_ = static_cast<std::uint8_t>(piano.key);
    main_.midiOut().NoteOn(piano);
    noteOff_.start();
}

void TConfigWizard::MidiInput(std::uint32_t message) {
    const std::uint8_t status = message & 0xF0;
    const int key = static_cast<int>((message >> 8) & 0x7F);
    const int velocity = static_cast<int>((message >> 16) & 0x7F);
    if (status != 0x90 || velocity == 0) return;
    LastKey->setText(
        text(8005, "Last key received: %s")
            .replace(QStringLiteral("%s"), QString::fromStdString(settings::ControlKeyName(key))));
}

void TConfigWizard::listen(bool on) {
    const bool midi = on && ActivePage() == app::WizardPage::MidiInput;
    if (midi)
        main_.RouteChordEditorMidi([this](std::uint32_t message) { MidiInput(message); });
    else if (main_.ChordEditorMidi)
        main_.RouteChordEditorMidi({});
    const bool microphone = on && ActivePage() == app::WizardPage::Microphone;
    if (microphone && !meter_.isActive()) {
        if (!micOpen_) micOpen_ = main_.sound().micDevice().MicOpen() > 0;
        MicState->setText(micOpen_ ? QString()
                                   : text(8010,
                                          "No microphone could be opened. Check that one is connected; every "
                                          "exercise can also be answered without it."));
        MicLevel->setEnabled(micOpen_);
        if (micOpen_) meter_.start();
    } else if (!microphone) {
        meter_.stop();
        MicLevel->setValue(0);
    }
}

}  // namespace kalvintor::ui
