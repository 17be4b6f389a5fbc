// The program settings dialog: its pages, filling and storing, the live device and volume changes,
// sound tests and the synchronisation test.
#include "TProgramSettings.h"

#include "ControlKeyBox.h"
#include "app/MainSound.h"
#include "app/Program.h"
#include "app/Style.h"
#include "app/Texts.h"
#include "settings/GeneralMidi.h"
#include "settings/SoundFonts.h"
#include "sound/DeviceTexts.h"
#include "sound/SoundSystem.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kalvintor::ui {

namespace {

enum VoiceIndex { kPiano = 0, kGuitar = 1, kRhythm = 2, kMetronome = 3 };
enum TestSound { kTestPiano, kTestGuitar, kTestRhythm, kTestClick, kTestFirstBeat };
// The tags of the fields that take MIDI input while they have the focus.
enum FieldTag {
    kTagPiano = 3,
    kTagRhythmProgram = 4,
    kTagMetronomeProgram = 5,
    kTagRhythmKey = 6,
    kTagClickKey = 7,
    kTagFirstBeatKey = 8,
    kTagGuitar = 9,
    kTagControlKey = 11
};
constexpr int kDrumChannelShown = settings::kDrumChannel + 1;
constexpr int kTestTicks = 500;
constexpr std::int32_t kSyncFirstTicks = 750;
constexpr std::int32_t kSyncTicks = 500;
constexpr int kGuitarKey = 48;
constexpr int kLightGuitarKey = 60;
constexpr int kPianoKey = 60;

QComboBox* makeCombo(const char* name, const QString& accessible) {
    auto* combo = new QComboBox;
    combo->setObjectName(QString::fromLatin1(name));
    combo->setAccessibleName(accessible);
    return combo;
}

QSpinBox* makeSpin(const char* name, const QString& accessible, int low, int high, int step = 1) {
    auto* spin = new QSpinBox;
    spin->setObjectName(QString::fromLatin1(name));
    spin->setAccessibleName(accessible);
    spin->setRange(low, high);
    spin->setSingleStep(step);
    return spin;
}

QSlider* makeSlider(const char* name, const QString& accessible, int low, int high) {
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setObjectName(QString::fromLatin1(name));
    slider->setAccessibleName(accessible);
    slider->setRange(low, high);
    slider->setFocusPolicy(Qt::StrongFocus);
    return slider;
}

QCheckBox* makeCheck(const char* name, int id, const char* english) {
    auto* check = new QCheckBox(text(id, english));
    check->setObjectName(QString::fromLatin1(name));
    return check;
}

QToolButton* makeTestButton(const char* name, const QString& accessible) {
    auto* button = new QToolButton;
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text(7912, "Test"));
    button->setAccessibleName(accessible + " " + text(7912, "Test"));
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

void fillPrograms(QComboBox* combo, bool withDrum) {
    for (int p = 0; p < settings::kProgramCount; ++p)
        combo->addItem(QString::fromStdString(settings::InstrumentEntry(p)));
    if (withDrum) combo->addItem(QString::fromStdString(settings::InstrumentEntry(settings::kDrumEntry)));
}

void fillKeys(QComboBox* combo) {
    for (int k = 0; k <= 127; ++k) combo->addItem(QString::fromStdString(settings::PercussionKeyEntry(k)));
}

void selectText(QComboBox* combo, const QString& wanted, Qt::CaseSensitivity cs = Qt::CaseSensitive) {
    combo->setCurrentIndex(
        combo->findText(wanted, cs == Qt::CaseSensitive ? Qt::MatchExactly : Qt::MatchFixedString));
}

std::uint8_t fontStyleOf(const QFont& font) {
    return static_cast<std::uint8_t>((font.bold() ? 1 : 0) | (font.italic() ? 2 : 0) |
                                     (font.underline() ? 4 : 0) | (font.strikeOut() ? 8 : 0));
}

std::string cut(const QString& text, std::size_t room) {
    std::string s = text.toStdString();
    return s.size() > room ? sound::CutDeviceName(s).substr(0, room) : s;
}

QGroupBox* group(int id, const char* english, QLayout* layout) {
    auto* box = new QGroupBox(text(id, english));
    box->setLayout(layout);
    return box;
}

}  // namespace

QStringList baseNames(const std::filesystem::path& folder, const QString& suffix, bool lowerCase) {
    QStringList names;
    const QDir dir(toQString(folder));
    for (const QFileInfo& file : dir.entryInfoList(QDir::Files)) {
        if (file.suffix().compare(suffix, Qt::CaseInsensitive) != 0) continue;
        names << (lowerCase ? file.completeBaseName().toLower() : file.completeBaseName());
    }
    names.sort(Qt::CaseInsensitive);
    return names;
}

QString rememberedSoundFont() {
    return QSettings(QSettings::UserScope, QStringLiteral("Kalvintor"), QStringLiteral("Workstation"))
        .value(QStringLiteral("Synthesizer/SoundFont"))
        .toString();
}

void rememberSoundFont(const QString& file) {
    QSettings local(QSettings::UserScope, QStringLiteral("Kalvintor"), QStringLiteral("Workstation"));
    local.setValue(QStringLiteral("Synthesizer/SoundFont"), file);
}

TProgramSettings::TProgramSettings(MainSound& sound, bool showDevices, QWidget* parent)
    : QDialog(parent), sound_(sound), pages_(new QTabWidget(this)) {
    setObjectName(QStringLiteral("ProgramSettings"));
    setWindowTitle(text(100, "Program settings"));
    pages_->setObjectName(QStringLiteral("PageControl1"));
    pages_->setAccessibleName(text(100, "Program settings"));
    pages_->addTab(makeInstrumentsPage(), text(7900, "&Instruments"));
    QWidget* devices = makeDevicesPage();
    if (showDevices) {
        pages_->addTab(devices, text(7901, "&Devices"));
    } else {
        // Kept out of sight: its fields still carry the stored devices and delay.
        devices->setParent(this);
        devices->hide();
    }
    pages_->addTab(makeEnvironmentPage(), text(7902, "&Environment"));
    pages_->addTab(makeEffectsPage(), text(7903, "Effects / &Microphone"));
    pages_->addTab(makeRemotePage(), text(7904, "&Remote control"));

    auto* buttons = new QDialogButtonBox;
    auto* ok = buttons->addButton(text(90, "OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setDefault(true);
    auto* cancel = buttons->addButton(text(93, "Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("BitBtn2"));
    auto* help = buttons->addButton(text(80, "&Help"), QDialogButtonBox::HelpRole);
    help->setObjectName(QStringLiteral("BitBtn3"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TProgramSettings::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TProgramSettings::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { emit helpRequested(110); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addWidget(buttons);
}

TProgramSettings::~TProgramSettings() = default;

QWidget* TProgramSettings::makeInstrumentsPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Instruments"));
    auto* grid = new QVBoxLayout(page);
    const QString channel = text(7910, "Channel");
    const QString velocity = text(7911, "Velocity");
    struct Names {
        const char *program, *key, *channel, *velocity, *test;
        int title;
        const char* english;
        int programTag, keyTag;
    };
    const Names names[4] = {
        {"ComboBox3", nullptr, "UpDown1", "UpDown5", "SpeedButton1", 7905, "Piano", kTagPiano, 0},
        {"ComboBox9", nullptr, "UpDown2", "UpDown6", "SpeedButton5", 7906, "Guitar", kTagGuitar, 0},
        {"ComboBox4", "ComboBox6", "UpDown3", "UpDown7", "SpeedButton2", 7907, "Rhythm sound",
         kTagRhythmProgram, kTagRhythmKey},
        {"ComboBox5", "ComboBox7", "UpDown4", "UpDown8", "SpeedButton3", 7908, "Metronome",
         kTagMetronomeProgram, kTagClickKey},
    };
    for (int i = 0; i < 4; ++i) {
        const Names& n = names[i];
        Voice& v = voices_[static_cast<std::size_t>(i)];
        const QString title = text(n.title, n.english);
        auto* form = new QFormLayout;
        v.program = makeCombo(n.program, title + " " + text(7909, "Instrument"));
        fillPrograms(v.program, i >= kRhythm);
        v.program->setProperty("fieldTag", n.programTag);
        v.program->installEventFilter(this);
        form->addRow(text(7909, "Instrument"), v.program);
        if (n.key != nullptr) {
            v.key = makeCombo(
                n.key, title + " " + text(i == kRhythm ? 7914 : 7915, i == kRhythm ? "Key" : "Click key"));
            fillKeys(v.key);
            v.key->setProperty("fieldTag", n.keyTag);
            v.key->installEventFilter(this);
            form->addRow(text(i == kRhythm ? 7914 : 7915, i == kRhythm ? "Key" : "Click key"), v.key);
        }
        if (i == kMetronome) {
            firstBeatKey_ = makeCombo("ComboBox8", title + " " + text(7916, "First beat"));
            fillKeys(firstBeatKey_);
            firstBeatKey_->setProperty("fieldTag", int(kTagFirstBeatKey));
            firstBeatKey_->installEventFilter(this);
            form->addRow(text(7916, "First beat"), firstBeatKey_);
        }
        v.channel = makeSpin(n.channel, title + " " + channel, 1, 16);
        v.velocity = makeSpin(n.velocity, title + " " + velocity, 0, 127, 5);
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(channel));
        row->addWidget(v.channel);
        row->addWidget(new QLabel(velocity));
        row->addWidget(v.velocity);
        auto* test = makeTestButton(n.test, title);
        row->addWidget(test);
        const int testWhich = i == kPiano    ? kTestPiano
                              : i == kGuitar ? kTestGuitar
                              : i == kRhythm ? kTestRhythm
                                             : kTestClick;
        connect(test, &QToolButton::clicked, this, [this, testWhich] {
            testOnChange_ = true;
            testSound(testWhich);
        });
        if (i == kMetronome) {
            firstBeatVelocity_ =
                makeSpin("UpDown9", title + " " + text(7917, "Velocity of the first beat"), 0, 127, 5);
            row->addWidget(firstBeatVelocity_);
            auto* firstTest = makeTestButton("SpeedButton4", text(7916, "First beat"));
            row->addWidget(firstTest);
            connect(firstTest, &QToolButton::clicked, this, [this] {
                testOnChange_ = true;
                testSound(kTestFirstBeat);
            });
            connect(firstBeatKey_, &QComboBox::currentIndexChanged, this, [this] {
                if (testOnChange_ && !loading_) testSound(kTestFirstBeat);
            });
            connect(firstBeatVelocity_, &QSpinBox::valueChanged, this, [this] {
                if (testOnChange_ && !loading_) testSound(kTestFirstBeat);
            });
        }
        form->addRow(row);
        if (i == kGuitar) {
            lightGuitar_ = makeCheck("CheckBox6", 7913, "Light guitar");
            form->addRow(lightGuitar_);
        }
        const auto retest = [this, testWhich] {
            if (testOnChange_ && !loading_) testSound(testWhich);
        };
        connect(v.program, &QComboBox::currentIndexChanged, this, [this, i, retest](int index) {
            Voice& voice = voices_[static_cast<std::size_t>(i)];
            if (i >= kRhythm && !loading_) {
                if (index == settings::kDrumEntry)
                    voice.channel->setValue(kDrumChannelShown);
                else
                    voice.lastProgram = index;
            }
            retest();
        });
        if (v.key) connect(v.key, &QComboBox::currentIndexChanged, this, retest);
        connect(v.velocity, &QSpinBox::valueChanged, this, retest);
        connect(v.channel, &QSpinBox::valueChanged, this, [this, i, retest](int shown) {
            if (i >= kRhythm)
                drumChannelChanged(voices_[static_cast<std::size_t>(i)], shown == kDrumChannelShown);
            retest();
        });
        grid->addWidget(group(n.title, n.english, form));
    }
    grid->addStretch();
    return page;
}

QWidget* TProgramSettings::makeDevicesPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Devices"));
    auto* layout = new QVBoxLayout(page);
    auto* form = new QFormLayout;
    inputDevice_ = makeCombo("ComboBox1", text(7918, "MIDI input device"));
    outputDevice_ = makeCombo("ComboBox2", text(7919, "MIDI output device"));
    midiVolume_ = makeSlider("TrackBar4", text(7920, "MIDI volume"), 0, 255);
    form->addRow(text(7918, "MIDI &input device"), inputDevice_);
    form->addRow(text(7919, "MIDI &output device"), outputDevice_);
    form->addRow(text(7920, "MIDI &volume"), midiVolume_);
    layout->addWidget(group(7958, "MIDI", form));
    connect(inputDevice_, &QComboBox::activated, this, &TProgramSettings::chooseInputDevice);
    connect(outputDevice_, &QComboBox::activated, this, &TProgramSettings::chooseOutputDevice);
    connect(midiVolume_, &QSlider::valueChanged, this, [this](int level) {
        if (!loading_) sound_.midiOut().SetVolume(static_cast<std::uint8_t>(level));
    });

    auto* fontRow = new QHBoxLayout;
    soundFont_ = makeCombo("SoundFont", text(7924, "SoundFont of the built-in synthesizer"));
    auto* other = new QPushButton(text(5110, "Other..."));
    other->setObjectName(QStringLiteral("SoundFontFile"));
    other->setAccessibleName(text(7924, "SoundFont of the built-in synthesizer") + " " +
                             text(5110, "Other..."));
    soundFontProgress_ = new QProgressBar;
    soundFontProgress_->setObjectName(QStringLiteral("SoundFontProgress"));
    soundFontProgress_->setAccessibleName(text(7925, "Loading the SoundFont"));
    soundFontProgress_->setRange(0, 0);
    soundFontProgress_->setFormat(text(7925, "Loading the SoundFont"));
    soundFontProgress_->setTextVisible(true);
    soundFontProgress_->hide();
    fontRow->addWidget(soundFont_, 1);
    fontRow->addWidget(other);
    auto* fontBox = new QVBoxLayout;
    fontBox->addLayout(fontRow);
    fontBox->addWidget(soundFontProgress_);
    layout->addWidget(group(7924, "SoundFont of the built-in synthesizer", fontBox));
    connect(soundFont_, &QComboBox::activated, this, &TProgramSettings::chooseSoundFont);
    connect(other, &QPushButton::clicked, this, &TProgramSettings::chooseSoundFontFile);
    const bool haveSynth = sound_.synth() != nullptr;
    soundFont_->setEnabled(haveSynth);
    other->setEnabled(haveSynth);

    auto* sync = new QHBoxLayout;
    syncButton_ = new QPushButton(text(5006, "&Begin"));
    syncButton_->setObjectName(QStringLiteral("BitBtn6"));
    syncDelay_ = makeSpin("UpDown10", text(7923, "Delay (ms)"), 0, 600, 5);
    flash_ = new QFrame;
    flash_->setObjectName(QStringLiteral("Shape2"));
    flash_->setAccessibleName(text(7921, "Syncronize rhythms"));
    flash_->setFixedSize(28, 28);
    flash_->setFrameShape(QFrame::Box);
    flash_->setAutoFillBackground(true);
    sync->addWidget(syncButton_);
    sync->addWidget(new QLabel(text(7923, "Delay (ms)")));
    sync->addWidget(syncDelay_);
    sync->addWidget(flash_);
    sync->addStretch();
    layout->addWidget(group(7921, "Syncronize rhythms", sync));
    connect(syncButton_, &QPushButton::clicked, this, &TProgramSettings::toggleSyncTest);
    connect(syncDelay_, &QSpinBox::valueChanged, this,
            [this](int ms) { sound_.sequencer.SeqSetSyncDelay(static_cast<std::uint16_t>(ms)); });
    layout->addStretch();
    flashOn_ = true;
    SeqNotify(1);
    return page;
}

QWidget* TProgramSettings::makeEnvironmentPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Environment"));
    auto* form = new QFormLayout(page);
    language_ = makeCombo("ComboBox10", text(7927, "Language"));
    language_->addItems(baseNames(program().paths.languageDir, QStringLiteral("LAN"), false));
    form->addRow(text(7927, "&Language"), language_);

    auto* fontRow = new QHBoxLayout;
    fontLabel_ = new QLabel;
    fontLabel_->setObjectName(QStringLiteral("Label12"));
    auto* fontButton = new QPushButton(text(92, "Change..."));
    fontButton->setObjectName(QStringLiteral("BitBtn4"));
    fontButton->setAccessibleName(text(7928, "Font") + " " + text(92, "Change..."));
    fontRow->addWidget(fontLabel_, 1);
    fontRow->addWidget(fontButton);
    form->addRow(text(7928, "Font"), fontRow);
    connect(fontButton, &QPushButton::clicked, this, &TProgramSettings::chooseFont);

    auto* colourRow = new QHBoxLayout;
    colourShape_ = new QFrame;
    colourShape_->setObjectName(QStringLiteral("Shape1"));
    colourShape_->setFixedSize(48, 22);
    colourShape_->setFrameShape(QFrame::Box);
    colourShape_->setAutoFillBackground(true);
    auto* colourButton = new QPushButton(text(92, "Change..."));
    colourButton->setObjectName(QStringLiteral("BitBtn5"));
    colourButton->setAccessibleName(text(7929, "Colour") + " " + text(92, "Change..."));
    colourRow->addWidget(colourShape_);
    colourRow->addWidget(colourButton);
    colourRow->addStretch();
    form->addRow(text(7929, "Colour"), colourRow);
    connect(colourButton, &QPushButton::clicked, this, &TProgramSettings::chooseColour);

    auto* spacingRow = new QHBoxLayout;
    rhythmSpacing_ = makeSlider("TrackBar1", text(7930, "Rhythm notation"), 0, 3);
    rhythmSpacing_->setTickPosition(QSlider::TicksBelow);
    spacingRow->addWidget(new QLabel(text(7931, "Time proportional")));
    spacingRow->addWidget(rhythmSpacing_, 1);
    spacingRow->addWidget(new QLabel(text(7932, "Fixed space")));
    // The caption's accelerator moves to the slider.
    auto* spacingCaption = new QLabel(text(7930, "Rhythm &notation"));
    spacingCaption->setBuddy(rhythmSpacing_);
    form->addRow(spacingCaption, spacingRow);

    autoNewQuestion_ = makeCheck("CheckBox4", 7934, "&Automatic new question");
    onlyIfCorrect_ = makeCheck("CheckBox5", 7935, "Only if &correct answer");
    autoDelay_ = makeSpin("UpDown11", text(7933, "Delay before a new question (s)"), 0, 9);
    threshold_ = makeSpin("UpDown14", text(7936, "Pass threshold of the rhythm exercises (%)"), 1, 100);
    form->addRow(autoNewQuestion_);
    form->addRow(onlyIfCorrect_);
    form->addRow(text(7933, "&Delay before a new question (s)"), autoDelay_);
    form->addRow(text(7936, "&Pass threshold of the rhythm exercises (%)"), threshold_);
    auto* tips = new QPushButton(text(7937, "Reset all &tips"));
    tips->setObjectName(QStringLiteral("BitBtn7"));
    form->addRow(tips);
    connect(tips, &QPushButton::clicked, this, [this, tips] {
        resetTips_ = true;
        tips->setEnabled(false);
    });
    return page;
}

QWidget* TProgramSettings::makeEffectsPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Effects"));
    auto* form = new QFormLayout(page);
    soundEffects_ = makeCheck("Soundeffects", 7938, "&Sound effects");
    form->addRow(soundEffects_);
    const QStringList sounds = baseNames(program().paths.mediaDir, QStringLiteral("wav"), true);
    const auto soundRow = [&](const char* comboName, const char* playName, int id, const char* english,
                              QComboBox*& combo, QToolButton*& play) {
        combo = makeCombo(comboName, text(id, english));
        combo->addItems(sounds);
        play = new QToolButton;
        play->setObjectName(QString::fromLatin1(playName));
        play->setText(text(137, "Play"));
        play->setAccessibleName(text(id, english) + " " + text(137, "Play"));
        play->setFocusPolicy(Qt::StrongFocus);
        auto* row = new QHBoxLayout;
        row->addWidget(combo, 1);
        row->addWidget(play);
        form->addRow(text(id, english), row);
        connect(play, &QToolButton::clicked, this, [this, combo] {
            if (!combo->currentText().isEmpty())
                sound_.services().PlayWave(combo->currentText().toStdString());
        });
    };
    soundRow("ComboBox11", "SpeedButton6", 7939, "Correct answer", correctSound_, correctPlay_);
    soundRow("ComboBox12", "SpeedButton7", 7940, "Wrong answer", wrongSound_, wrongPlay_);
    connect(soundEffects_, &QCheckBox::toggled, this, [this](bool on) {
        for (QWidget* w :
             std::initializer_list<QWidget*>{correctSound_, wrongSound_, correctPlay_, wrongPlay_})
            w->setEnabled(on);
    });
    waveVolume_ = makeSlider("TrackBar5", text(7942, "Effects volume"), 0, 255);
    form->addRow(text(7942, "Effects &volume"), waveVolume_);
    connect(waveVolume_, &QSlider::valueChanged, this, [this](int level) {
        if (!loading_) sound_.services().SetWaveVolume(static_cast<std::uint8_t>(level));
    });
    introMusic_ = makeCheck("CheckBox7", 7943, "&Intro music");
    form->addRow(introMusic_);
    toneSensitivity_ = makeSlider("TrackBar2", text(7944, "Tone sensitivity"), 0, 8);
    rhythmSensitivity_ = makeSlider("TrackBar3", text(7945, "Rhythm sensitivity"), 0, 8);
    for (QSlider* s : {toneSensitivity_, rhythmSensitivity_}) {
        s->setInvertedAppearance(true);  // 0 is the highest sensitivity, shown on the right
        s->setTickPosition(QSlider::TicksBelow);
    }
    form->addRow(text(7944, "&Tone sensitivity"), toneSensitivity_);
    form->addRow(text(7945, "&Rhythm sensitivity"), rhythmSensitivity_);
    highPrecision_ = makeCheck("CheckBox1", 7946, "&High precision (tone input)");
    form->addRow(highPrecision_);
    return page;
}

QWidget* TProgramSettings::makeRemotePage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Remote"));
    auto* form = new QFormLayout(page);
    damperAsEnter_ = makeCheck("CheckBox2", 7948, "&Damper pedal as <ENTER> key");
    controlByTones_ = makeCheck("CheckBox3", 7949, "&Control by MIDI tones");
    form->addRow(damperAsEnter_);
    form->addRow(controlByTones_);
    const char* names[] = {"Edit12", "Edit13", "Edit15", "Edit16", "Edit17"};
    const char* english[] = {"New question", "Repeat question", "Third button", "Fourth button", "Stop"};
    for (int i = 0; i < settings::kControlButtonCount; ++i) {
        auto* key = new ControlKeyBox;
        key->setObjectName(QString::fromLatin1(names[i]));
        key->setAccessibleName(text(7950 + i, english[i]));
        key->setProperty("fieldTag", kTagControlKey + i);
        key->installEventFilter(this);
        controlKeys_[static_cast<std::size_t>(i)] = key;
        form->addRow(text(7950 + i, english[i]), key);
    }
    connect(controlByTones_, &QCheckBox::toggled, this, [this](bool on) {
        for (ControlKeyBox* key : controlKeys_) key->setEnabled(on);
    });
    return page;
}

void TProgramSettings::fillDeviceLists() {
    inputDevice_->clear();
    for (const auto& entry : sound_.midiIn().Devices())
        inputDevice_->addItem(QString::fromStdString(entry.name));
    outputDevice_->clear();
    for (const auto& entry : sound_.midiOut().Devices())
        if (!entry.placeholder) outputDevice_->addItem(QString::fromStdString(entry.name));
}

void TProgramSettings::fillSoundFonts() {
    soundFont_->clear();
    const QString current = rememberedSoundFont();
    std::vector<std::filesystem::path> fonts = settings::InstalledSoundFonts(settings::SoundFontFolders());
    soundFont_->addItem(
        text(7926, "Standard (%s)").replace("%s", QFileInfo(sound::kDefaultSoundFont).fileName()), QString());
    for (const auto& font : fonts) {
        const QString file = toQString(font);
        if (file == QString::fromLatin1(sound::kDefaultSoundFont)) continue;
        soundFont_->addItem(QFileInfo(file).completeBaseName(), file);
    }
    if (!current.isEmpty() && soundFont_->findData(current) < 0)
        soundFont_->addItem(QFileInfo(current).completeBaseName(), current);
    soundFont_->setCurrentIndex(std::max(0, soundFont_->findData(current)));
    workingSoundFont_ = current;
}

void TProgramSettings::LoadSettings(const settings::Settings& s, const QFont& font) {
    loading_ = true;
    stored_ = s;
    const settings::TSoundRec* recs[4] = {&s.pianoVoice, &s.guitarVoice, &s.rhythmSound, &s.metronomeClick};
    for (int i = 0; i < 4; ++i) {
        Voice& v = voices_[static_cast<std::size_t>(i)];
        const settings::TSoundRec& r = *recs[i];
        v.lastProgram = r.program < settings::kProgramCount ? r.program : 0;
        v.channel->setValue(std::clamp<int>(r.channel, 0, 15) + 1);
        v.program->setCurrentIndex(i >= kRhythm ? settings::ProgramListEntry(r.channel, r.program)
                                                : v.lastProgram);
        drumChannelChanged(v, i >= kRhythm && r.channel == settings::kDrumChannel);
        v.velocity->setValue(std::clamp<int>(r.velocity, 0, 127));
        if (v.key) v.key->setCurrentIndex(std::clamp<int>(r.key, 0, 127));
    }
    firstBeatKey_->setCurrentIndex(std::clamp<int>(s.firstBeatClick.key, 0, 127));
    firstBeatVelocity_->setValue(std::clamp<int>(s.firstBeatClick.velocity, 0, 127));
    lightGuitar_->setChecked(s.lightGuitar);

    fillDeviceLists();
    const auto& inputs = sound_.midiIn().Devices();
    const QString none = inputs.empty() ? QString() : QString::fromStdString(inputs.back().name);
    inputName_ = s.midiInputDevice.empty() ? none : QString::fromStdString(s.midiInputDevice);
    if (inputDevice_->findText(inputName_) < 0) inputName_ = none;
    selectText(inputDevice_, inputName_);
    outputName_ = QString::fromStdString(s.midiOutputDevice);
    if (outputName_.isEmpty() && !sound_.midiOut().Devices().empty())
        outputName_ = QString::fromStdString(sound_.midiOut().Devices().front().name);
    selectText(outputDevice_, outputName_);
    std::uint8_t volume = 0;
    midiVolume_->setEnabled(sound_.midiOut().GetVolume(volume));
    midiVolume_->setValue(midiVolume_->isEnabled() ? volume : s.midiVolume);
    fillSoundFonts();
    syncDelay_->setValue(std::clamp(s.syncDelay, 0, 600));

    language_->setCurrentIndex(language_->findText(QString::fromStdString(s.language), Qt::MatchFixedString));
    if (language_->currentIndex() < 0) selectText(language_, QStringLiteral("English"));
    font_ = font;
    fontLabel_->setText(font_.family() + ", " + QString::number(font_.pointSize()));
    colour_ = s.colour;
    showColour();
    rhythmSpacing_->setValue(std::min<int>(s.rhythmSpacing, 3));
    autoDelay_->setValue(std::min<int>(s.autoNewQuestionDelay, 9));
    autoNewQuestion_->setChecked(s.autoNewQuestion);
    onlyIfCorrect_->setChecked(s.onlyIfCorrect);
    threshold_->setValue(std::clamp<int>(s.rhythmPassThreshold, 1, 100));

    soundEffects_->setChecked(!s.soundEffects);
    soundEffects_->setChecked(s.soundEffects);
    selectText(correctSound_, QString::fromStdString(s.correctSound).toLower());
    selectText(wrongSound_, QString::fromStdString(s.wrongSound).toLower());
    std::uint8_t wave = 0;
    waveVolume_->setEnabled(sound_.services().GetWaveVolume(wave));
    waveVolume_->setValue(waveVolume_->isEnabled() ? wave : s.waveVolume);
    introMusic_->setChecked(s.introMusic);
    toneSensitivity_->setValue(std::min<int>(s.toneSensitivity, 8));
    rhythmSensitivity_->setValue(std::min<int>(s.rhythmSensitivity, 8));
    highPrecision_->setChecked(s.highPrecision);

    damperAsEnter_->setChecked(s.damperAsEnter);
    controlByTones_->setChecked(!s.controlByMidiTones);
    controlByTones_->setChecked(s.controlByMidiTones);
    for (std::size_t i = 0; i < controlKeys_.size(); ++i)
        controlKeys_[i]->setValue(std::min<int>(s.controlKeys[i], 127));
    loading_ = false;
}

void TProgramSettings::StoreSettings(settings::Settings& s) const {
    settings::TSoundRec* recs[4] = {&s.pianoVoice, &s.guitarVoice, &s.rhythmSound, &s.metronomeClick};
    for (int i = 0; i < 4; ++i) {
        const Voice& v = voices_[static_cast<std::size_t>(i)];
        settings::TSoundRec& r = *recs[i];
        r.channel = static_cast<std::uint16_t>(v.channel->value() - 1);
        r.program = static_cast<std::uint16_t>(i >= kRhythm ? v.lastProgram : v.program->currentIndex());
        r.velocity = static_cast<std::uint16_t>(v.velocity->value());
        if (v.key) r.key = static_cast<std::uint16_t>(v.key->currentIndex());
    }
    s.firstBeatClick.channel = s.metronomeClick.channel;
    s.firstBeatClick.program = s.metronomeClick.program;
    s.firstBeatClick.velocity = static_cast<std::uint16_t>(firstBeatVelocity_->value());
    s.firstBeatClick.key = static_cast<std::uint16_t>(firstBeatKey_->currentIndex());
    s.lightGuitar = lightGuitar_->isChecked();

    const auto& inputs = sound_.midiIn().Devices();
    const bool noInput = inputs.empty() || inputName_ == QString::fromStdString(inputs.back().name);
    s.midiInputDevice = noInput ? std::string() : sound::CutDeviceName(inputName_.toStdString());
    s.midiOutputDevice = sound::CutDeviceName(outputName_.toStdString());
    s.midiVolume = static_cast<std::uint8_t>(midiVolume_->value());
    s.syncDelay = syncDelay_->value();

    if (language_->currentIndex() >= 0) s.language = cut(language_->currentText(), 15);
    s.fontName = cut(font_.family(), 79);
    s.fontSize = font_.pointSize() > 0 ? font_.pointSize() : s.fontSize;
    s.fontStyle = fontStyleOf(font_);
    s.colour = colour_;
    s.rhythmSpacing = static_cast<std::uint8_t>(rhythmSpacing_->value());
    s.autoNewQuestionDelay = static_cast<std::uint8_t>(autoDelay_->value());
    s.autoNewQuestion = autoNewQuestion_->isChecked();
    s.onlyIfCorrect = onlyIfCorrect_->isChecked();
    s.rhythmPassThreshold = static_cast<std::uint8_t>(threshold_->value());

    s.soundEffects = soundEffects_->isChecked();
    if (correctSound_->currentIndex() >= 0) s.correctSound = cut(correctSound_->currentText(), 19);
    if (wrongSound_->currentIndex() >= 0) s.wrongSound = cut(wrongSound_->currentText(), 19);
    s.waveVolume = static_cast<std::uint8_t>(waveVolume_->value());
    s.introMusic = introMusic_->isChecked();
    s.toneSensitivity = static_cast<std::uint8_t>(toneSensitivity_->value());
    s.rhythmSensitivity = static_cast<std::uint8_t>(rhythmSensitivity_->value());
    s.highPrecision = highPrecision_->isChecked();

    s.damperAsEnter = damperAsEnter_->isChecked();
    s.controlByMidiTones = controlByTones_->isChecked();
    for (std::size_t i = 0; i < controlKeys_.size(); ++i)
        s.controlKeys[i] = static_cast<std::uint8_t>(controlKeys_[i]->value());
}

void TProgramSettings::chooseInputDevice(int index) {
    std::string name = inputDevice_->itemText(index).toStdString();
    if (sound_.midiIn().SelectDeviceByName(name)) {
        inputName_ = inputDevice_->itemText(index);
    } else {
        QSignalBlocker block(inputDevice_);
        selectText(inputDevice_, inputName_);
    }
}

void TProgramSettings::chooseOutputDevice(int index) {
    std::string name = outputDevice_->itemText(index).toStdString();
    sound_.midiOut().Stop();
    if (sound_.midiOut().SelectDeviceByName(name)) {
        outputName_ = outputDevice_->itemText(index);
        sound_.midiOut().SetVolume(static_cast<std::uint8_t>(midiVolume_->value()));
    } else {
        // The device that worked stays open.
        std::string previous = outputName_.toStdString();
        sound_.midiOut().SelectDeviceByName(previous);
        QSignalBlocker block(outputDevice_);
        selectText(outputDevice_, outputName_);
    }
    std::uint8_t volume = 0;
    midiVolume_->setEnabled(sound_.midiOut().GetVolume(volume));
}

void TProgramSettings::restoreStoredDevices() {
    const auto& inputs = sound_.midiIn().Devices();
    const QString none = inputs.empty() ? QString() : QString::fromStdString(inputs.back().name);
    const QString storedInput =
        stored_.midiInputDevice.empty() ? none : QString::fromStdString(stored_.midiInputDevice);
    if (inputName_ != storedInput) {
        std::string name = storedInput.toStdString();
        if (!sound_.midiIn().SelectDeviceByName(name)) sound_.midiIn().Close();
        inputName_ = storedInput;
    }
    std::string output = stored_.midiOutputDevice;
    const QString storedOutput = output.empty() && !sound_.midiOut().Devices().empty()
                                     ? QString::fromStdString(sound_.midiOut().Devices().front().name)
                                     : QString::fromStdString(output);
    if (outputName_ != storedOutput) {
        sound_.midiOut().SelectDeviceByName(output);
        outputName_ = storedOutput;
    }
    sound_.midiOut().SetVolume(stored_.midiVolume);
    sound_.services().SetWaveVolume(stored_.waveVolume);
    sound_.sequencer.SeqSetSyncDelay(static_cast<std::uint16_t>(std::clamp(stored_.syncDelay, 0, 600)));
}

void TProgramSettings::chooseSoundFont(int index) {
    loadSoundFont(soundFont_->itemData(index).toString());
}

void TProgramSettings::chooseSoundFontFile() {
    const QString file = QFileDialog::getOpenFileName(
        this, text(7924, "SoundFont of the built-in synthesizer"), QStringLiteral("/usr/share/sounds"),
        text(7957, "SoundFonts (*.sf2 *.sf3)"));
    if (file.isEmpty()) return;
    loadSoundFont(file);
}

void TProgramSettings::loadSoundFont(const QString& file) {
    sound::BuiltinSynth* synth = sound_.synth();
    if (synth == nullptr) return;
    const QString path = file.isEmpty() ? QString::fromLatin1(sound::kDefaultSoundFont) : file;
    switch (settings::CheckSoundFont(toPath(path))) {
        case settings::SoundFontCheck::Missing:
            soundFontLoaded(file, static_cast<int>(sound::SynthError::SoundFontMissing));
            return;
        case settings::SoundFontCheck::NotSoundFont:
            soundFontLoaded(file, static_cast<int>(sound::SynthError::SoundFontBroken));
            return;
        case settings::SoundFontCheck::Usable:
            break;
    }
    soundFont_->setEnabled(false);
    soundFontProgress_->show();
    sound_.midiOut().Stop();
    QPointer<TProgramSettings> self(this);
    synth->LoadSoundFontAsync(toPath(path), [self, file](sound::SynthError error) {
        QMetaObject::invokeMethod(
            qApp,
            [self, file, error] {
                if (error == sound::SynthError::None) rememberSoundFont(file);
                if (self) self->soundFontLoaded(file, static_cast<int>(error));
            },
            Qt::QueuedConnection);
    });
}

void TProgramSettings::soundFontLoaded(const QString& file, int error) {
    soundFontProgress_->hide();
    soundFont_->setEnabled(true);
    if (error == static_cast<int>(sound::SynthError::None)) {
        workingSoundFont_ = file;
        if (soundFont_->findData(file) < 0) soundFont_->addItem(QFileInfo(file).completeBaseName(), file);
    } else {
        const bool missing = error == static_cast<int>(sound::SynthError::SoundFontMissing);
        QString message = missing ? text(sound::kTextSoundFontMissing, sound::kSoundFontMissingEnglish)
                                  : text(sound::kTextSoundFontBroken, sound::kSoundFontBrokenEnglish);
        QMessageBox::warning(this, text(5005, "Error"), message.replace("%s", file));
    }
    QSignalBlocker block(soundFont_);
    soundFont_->setCurrentIndex(std::max(0, soundFont_->findData(workingSoundFont_)));
}

void TProgramSettings::chooseFont() {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font_, this);
    if (!ok) return;
    font_ = chosen;
    fontLabel_->setText(font_.family() + ", " + QString::number(font_.pointSize()));
}

void TProgramSettings::chooseColour() {
    QColorDialog::setCustomColor(0, QColor(0xD3, 0xAF, 0xAF));
    QColorDialog::setCustomColor(1, QColor(0xAF, 0xD3, 0xAF));
    QColorDialog::setCustomColor(2, QColor(0xAF, 0xB9, 0xD3));
    QColorDialog::setCustomColor(3, QColor(0xE8, 0xD0, 0xA0));
    const QColor chosen = QColorDialog::getColor(style::colourFromSetting(colour_), this);
    if (!chosen.isValid()) return;
    colour_ = chosen.red() | (chosen.green() << 8) | (chosen.blue() << 16);
    showColour();
}

void TProgramSettings::showColour() {
    QPalette palette = colourShape_->palette();
    palette.setColor(QPalette::Window, style::colourFromSetting(colour_));
    colourShape_->setPalette(palette);
}

void TProgramSettings::drumChannelChanged(Voice& voice, bool percussion) {
    QSignalBlocker block(voice.program);
    voice.program->setEnabled(!percussion);
    voice.program->setCurrentIndex(percussion ? settings::kDrumEntry : voice.lastProgram);
}

void TProgramSettings::testSound(int which) {
    const int v = which == kTestPiano    ? kPiano
                  : which == kTestGuitar ? kGuitar
                  : which == kTestRhythm ? kRhythm
                                         : kMetronome;
    const Voice& voice = voices_[static_cast<std::size_t>(v)];
    settings::TSoundRec rec;
    rec.channel = static_cast<std::uint16_t>(voice.channel->value() - 1);
    rec.velocity = static_cast<std::uint16_t>(which == kTestFirstBeat ? firstBeatVelocity_->value()
                                                                      : voice.velocity->value());
    switch (which) {
        case kTestPiano:
            rec.key = kPianoKey;
            break;
        case kTestGuitar:
            rec.key = lightGuitar_->isChecked() ? kLightGuitarKey : kGuitarKey;
            break;
        case kTestFirstBeat:
            rec.key = static_cast<std::uint16_t>(firstBeatKey_->currentIndex());
            break;
        default:
            rec.key = static_cast<std::uint16_t>(voice.key->currentIndex());
            break;
    }
    sound::TMidiOut& out = sound_.midiOut();
    out.Stop();
    const int program = voice.program->currentIndex();
    if (program >= 0 && program < settings::kProgramCount && rec.channel != settings::kDrumChannel)
        out.ProgramChange(static_cast<std::uint8_t>(program), static_cast<std::uint8_t>(rec.channel));
    out.QueueSound(kTestTicks, 0, 0, 0, rec, false);
    out.Play();
}

void TProgramSettings::toggleSyncTest() {
    if (syncRunning_) {
        syncRunning_ = false;
        syncButton_->setText(text(5006, "&Begin"));
        return;
    }
    syncRunning_ = true;
    syncButton_->setText(text(805, "Stop"));
    sound_.sequencer.SeqClear();
    queueSyncClick(kSyncFirstTicks);
}

void TProgramSettings::queueSyncClick(std::int32_t ticks) {
    settings::Settings now = stored_;
    StoreSettings(now);
    const settings::TSoundRec rhythm = now.rhythmSound;
    sound::TMidiOut& out = sound_.midiOut();
    out.QueueNotify(1);
    out.QueueSound(static_cast<std::uint16_t>(ticks), 0, 0, 2, rhythm, false);
    out.Play();
}

void TProgramSettings::SeqNotify(std::uint16_t code) {
    if (code == 1) {
        flashOn_ = !flashOn_;
        QPalette palette = flash_->palette();
        palette.setColor(QPalette::Window, flashOn_ ? QColor(Qt::black) : QColor(Qt::white));
        flash_->setPalette(palette);
    } else if (code == 2 && syncRunning_) {
        sound_.sequencer.SeqClear();
        queueSyncClick(kSyncTicks);
    }
}

void TProgramSettings::MidiInput(std::uint32_t message) {
    const std::uint32_t status = message & 0xF0;
    const int data1 = static_cast<int>((message >> 8) & 0x7F);
    const int data2 = static_cast<int>((message >> 16) & 0x7F);
    const auto program = [&](int v) {
        Voice& voice = voices_[static_cast<std::size_t>(v)];
        if (!voice.program->isEnabled()) return;
        voice.program->setCurrentIndex(data1);
        testSound(v == kPiano    ? kTestPiano
                  : v == kGuitar ? kTestGuitar
                  : v == kRhythm ? kTestRhythm
                                 : kTestClick);
    };
    if (status == 0xC0) {
        switch (focusedTag_) {
            case kTagPiano:
                program(kPiano);
                break;
            case kTagGuitar:
                program(kGuitar);
                break;
            case kTagRhythmProgram:
                program(kRhythm);
                break;
            case kTagMetronomeProgram:
                program(kMetronome);
                break;
            default:
                break;
        }
    } else if (status == 0x90 && data2 > 0) {
        if (focusedTag_ == kTagRhythmKey) {
            voices_[kRhythm].key->setCurrentIndex(data1);
            testSound(kTestRhythm);
        } else if (focusedTag_ == kTagClickKey) {
            voices_[kMetronome].key->setCurrentIndex(data1);
            testSound(kTestClick);
        } else if (focusedTag_ == kTagFirstBeatKey) {
            firstBeatKey_->setCurrentIndex(data1);
            testSound(kTestFirstBeat);
        } else if (focusedTag_ >= kTagControlKey &&
                   focusedTag_ < kTagControlKey + settings::kControlButtonCount) {
            controlKeys_[static_cast<std::size_t>(focusedTag_ - kTagControlKey)]->setValue(data1);
        }
    }
}

bool TProgramSettings::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        focusedTag_ = watched->property("fieldTag").toInt();
        if (focusedTag_ < kTagControlKey) testOnChange_ = true;
    }
    return QDialog::eventFilter(watched, event);
}

void TProgramSettings::hideEvent(QHideEvent* event) {
    if (syncRunning_) toggleSyncTest();
    QDialog::hideEvent(event);
}

void TProgramSettings::accept() {
    if (syncRunning_) toggleSyncTest();
    QDialog::accept();
}

void TProgramSettings::reject() {
    if (syncRunning_) toggleSyncTest();
    restoreStoredDevices();
    QDialog::reject();
}

}  // namespace kalvintor::ui
