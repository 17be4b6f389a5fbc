// General MIDI names in the short form of the settings lists.
#include "settings/GeneralMidi.h"

#include <array>
#include <string_view>

namespace kalvintor::settings {

namespace {

constexpr std::array<std::string_view, kProgramCount> kInstruments = {
    "Piano 1",      "Piano 2",      "Piano 3",      "Honky-tonk",   "E.Piano 1",    "E.Piano 2",
    "Harpsichord",  "Clav.",        "Celesta",      "Glockenspiel", "Music Box",    "Vibraphone",
    "Marimba",      "Xylophone",    "Tubular-bell", "Santur",       "Organ 1",      "Organ 2",
    "Organ 3",      "Church Org.1", "Reed Organ",   "Accordion Fr", "Harmonica",    "Bandoneon",
    "Nylon-str.Gt", "Steel-str.Gt", "Jazz Gt.",     "Clean Gt.",    "Muted Gt.",    "Overdrive Gt",
    "DistortionGt", "Gt.Harmonics", "Acoustic Bs.", "Fingered Bs.", "Picked Bs.",   "Fretless Bs.",
    "Slap Bass 1",  "Slap Bass 2",  "Synth Bass 1", "Synth Bass 2", "Violin",       "Viola",
    "Cello",        "Contrabass",   "Tremolo Str",  "PizzicatoStr", "Harp",         "Timpani",
    "Strings",      "Slow Strings", "Syn.Strings1", "Syn.Strings2", "Choir Aahs",   "Voice Oohs",
    "SynVox",       "OrchestraHit", "Trumpet",      "Trombone",     "Tuba",         "MutedTrumpet",
    "French Horn",  "Brass 1",      "Synth Brass1", "Synth Brass2", "Soprano Sax",  "Alto Sax",
    "Tenor Sax",    "Baritone Sax", "Oboe",         "English Horn", "Bassoon",      "Clarinet",
    "Piccolo",      "Flute",        "Recorder",     "Pan Flute",    "Bottle Blow",  "Shakuhachi",
    "Whistle",      "Ocarina",      "Square Wave",  "Saw Wave",     "Syn.Calliope", "Chiffer Lead",
    "Charang",      "Solo Vox",     "5th Saw Wave", "Bass & Lead",  "Fantasia",     "Warm Pad",
    "Polysynth",    "Space Voice",  "Bowed Glass",  "Metal Pad",    "Halo Pad",     "Sweep Pad",
    "Ice Rain",     "Soundtrack",   "Crystal",      "Atmosphere",   "Brightness",   "Goblin",
    "Echo Drops",   "Star Theme",   "Sitar",        "Banjo",        "Shamisen",     "Koto",
    "Kalimba",      "Bagpipe",      "Fiddle",       "Shanai",       "Tinkle Bell",  "Agogo",
    "Steel Drums",  "Woodblock",    "Taiko",        "Melo. Tom 1",  "Synth Drum",   "Reverse Cym.",
    "Gt.FretNoise", "Breath Noise", "Seashore",     "Bird",         "Telephone 1",  "Helicopter",
    "Applause",     "Gun Shot"};

constexpr std::array<std::string_view, kLastPercussionKey - kFirstPercussionKey + 1> kPercussion = {
    "High Q",          "Slap",
    "Scratch Push",    "Scratch Pull",
    "Sticks",          "Square Click",
    "Metronome Click", "Metronome Bell",
    "Kick Drum 2",     "Kick Drum 1",
    "Side Stick",      "Snare Drum 1",
    "Hand Clap",       "Snare Drum 2",
    "Low Tom 2",       "Closed Hi-hat",
    "Low Tom 1",       "Pedal Hi-hat",
    "Mid Tom 2",       "Open Hi-hat",
    "Mid Tom 1",       "High Tom 2",
    "Crash Cymbal 1",  "High Tom 1",
    "Ride Cymbal 1",   "Chinese Cymbal",
    "Ride Bell",       "Tambourine",
    "Splash Cymbal",   "Cowbell",
    "Crash Cymbal 2",  "Vibra-slap",
    "Ride Cymbal 2",   "High Bongo",
    "Low Bongo",       "Mute High Conga",
    "Open High Conga", "Low Conga",
    "High Timbale",    "Low Timbale",
    "High Agogo",      "Low Agogo",
    "Cabasa",          "Maracas",
    "Short Whistle",   "Long Whistle",
    "Short Guiro",     "Long Guiro",
    "Claves",          "High Wood Block",
    "Low Wood Block",  "Mute Cuica",
    "Open Cuica",      "Mute Triangle",
    "Open Triangle",   "Shaker",
    "Jingle Bell",     "Bell Tree",
    "Castanets",       "Mute Surdo",
    "Open Surdo"};

constexpr std::array<std::string_view, 12> kNoteNames = {"C",  "Db", "D",  "Eb", "E",  "F",
                                                         "Gb", "G",  "Ab", "A",  "Bb", "B"};

}  // namespace

std::string InstrumentEntry(int program) {
    if (program == kDrumEntry) return "Drum";
    if (program < 0 || program >= kProgramCount) return {};
    return std::to_string(program) + " - " + std::string(kInstruments[static_cast<std::size_t>(program)]);
}

std::string PercussionKeyEntry(int key) {
    if (key < 0 || key > 127) return {};
    std::string entry = std::to_string(key) + " -";
    if (key >= kFirstPercussionKey && key <= kLastPercussionKey)
        entry += " " + std::string(kPercussion[static_cast<std::size_t>(key - kFirstPercussionKey)]);
    return entry;
}

std::string ControlKeyName(int note) {
    if (note < 0 || note > 127) return {};
    return std::string(kNoteNames[static_cast<std::size_t>(note % 12)]) + std::to_string(note / 12 - 2);
}

int ProgramListEntry(std::uint16_t channel, std::uint16_t program) {
    if (channel == kDrumChannel) return kDrumEntry;
    return program < kProgramCount ? program : 0;
}

}  // namespace kalvintor::settings
