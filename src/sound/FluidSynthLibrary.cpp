// FluidSynth, opened when the built-in synthesizer is first set up rather than at program start: it
// brings in the client libraries of the audio servers (PulseAudio, SDL), GLib, libinstpatch and
// more, whose loading and relocation made up a good part of the time to the first window. The
// synthesizer is set up on a thread of its own, so the library is opened there.
//
// The program calls FluidSynth's functions as declared in its headers; these definitions hand each
// call to the opened library. Without the library (or with one lacking a function) nothing is
// bound: new_fluid_settings gives null, so the synthesizer reports itself unavailable, and every
// other call does nothing.
#include <dlfcn.h>
#include <fluidsynth.h>

#include <bit>
#include <type_traits>

namespace {

struct FluidSynthLibrary {
    decltype(&::delete_fluid_audio_driver) delete_fluid_audio_driver = nullptr;
    decltype(&::delete_fluid_event) delete_fluid_event = nullptr;
    decltype(&::delete_fluid_player) delete_fluid_player = nullptr;
    decltype(&::delete_fluid_sequencer) delete_fluid_sequencer = nullptr;
    decltype(&::delete_fluid_settings) delete_fluid_settings = nullptr;
    decltype(&::delete_fluid_synth) delete_fluid_synth = nullptr;
    decltype(&::fluid_event_channel_pressure) fluid_event_channel_pressure = nullptr;
    decltype(&::fluid_event_control_change) fluid_event_control_change = nullptr;
    decltype(&::fluid_event_key_pressure) fluid_event_key_pressure = nullptr;
    decltype(&::fluid_event_noteoff) fluid_event_noteoff = nullptr;
    decltype(&::fluid_event_noteon) fluid_event_noteon = nullptr;
    decltype(&::fluid_event_pitch_bend) fluid_event_pitch_bend = nullptr;
    decltype(&::fluid_event_program_change) fluid_event_program_change = nullptr;
    decltype(&::fluid_event_set_dest) fluid_event_set_dest = nullptr;
    decltype(&::fluid_event_set_source) fluid_event_set_source = nullptr;
    decltype(&::fluid_player_add_mem) fluid_player_add_mem = nullptr;
    decltype(&::fluid_player_get_status) fluid_player_get_status = nullptr;
    decltype(&::fluid_player_play) fluid_player_play = nullptr;
    decltype(&::fluid_player_stop) fluid_player_stop = nullptr;
    decltype(&::fluid_sequencer_get_tick) fluid_sequencer_get_tick = nullptr;
    decltype(&::fluid_sequencer_register_client) fluid_sequencer_register_client = nullptr;
    decltype(&::fluid_sequencer_register_fluidsynth) fluid_sequencer_register_fluidsynth = nullptr;
    decltype(&::fluid_sequencer_remove_events) fluid_sequencer_remove_events = nullptr;
    decltype(&::fluid_sequencer_send_at) fluid_sequencer_send_at = nullptr;
    decltype(&::fluid_sequencer_set_time_scale) fluid_sequencer_set_time_scale = nullptr;
    decltype(&::fluid_set_log_function) fluid_set_log_function = nullptr;
    decltype(&::fluid_settings_setint) fluid_settings_setint = nullptr;
    decltype(&::fluid_settings_setnum) fluid_settings_setnum = nullptr;
    decltype(&::fluid_settings_setstr) fluid_settings_setstr = nullptr;
    decltype(&::fluid_sfont_get_id) fluid_sfont_get_id = nullptr;
    decltype(&::fluid_synth_all_notes_off) fluid_synth_all_notes_off = nullptr;
    decltype(&::fluid_synth_cc) fluid_synth_cc = nullptr;
    decltype(&::fluid_synth_channel_pressure) fluid_synth_channel_pressure = nullptr;
    decltype(&::fluid_synth_get_sfont) fluid_synth_get_sfont = nullptr;
    decltype(&::fluid_synth_key_pressure) fluid_synth_key_pressure = nullptr;
    decltype(&::fluid_synth_noteoff) fluid_synth_noteoff = nullptr;
    decltype(&::fluid_synth_noteon) fluid_synth_noteon = nullptr;
    decltype(&::fluid_synth_pitch_bend) fluid_synth_pitch_bend = nullptr;
    decltype(&::fluid_synth_process) fluid_synth_process = nullptr;
    decltype(&::fluid_synth_program_change) fluid_synth_program_change = nullptr;
    decltype(&::fluid_synth_set_gain) fluid_synth_set_gain = nullptr;
    decltype(&::fluid_synth_sfcount) fluid_synth_sfcount = nullptr;
    decltype(&::fluid_synth_sfload) fluid_synth_sfload = nullptr;
    decltype(&::fluid_synth_sfunload) fluid_synth_sfunload = nullptr;
    decltype(&::fluid_synth_system_reset) fluid_synth_system_reset = nullptr;
    decltype(&::fluid_synth_write_float) fluid_synth_write_float = nullptr;
    decltype(&::new_fluid_audio_driver2) new_fluid_audio_driver2 = nullptr;
    decltype(&::new_fluid_event) new_fluid_event = nullptr;
    decltype(&::new_fluid_player) new_fluid_player = nullptr;
    decltype(&::new_fluid_sequencer2) new_fluid_sequencer2 = nullptr;
    decltype(&::new_fluid_settings) new_fluid_settings = nullptr;
    decltype(&::new_fluid_synth) new_fluid_synth = nullptr;
};

const FluidSynthLibrary& Library() {
    static const FluidSynthLibrary library = [] {
        FluidSynthLibrary l;
        void* handle = dlopen(KALVINTOR_FLUIDSYNTH_SONAME, RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) return l;
        bool complete = true;
        const auto bind = [&](auto& function, const char* name) {
            using Function = std::remove_reference_t<decltype(function)>;
            function = std::bit_cast<Function>(dlsym(handle, name));
            complete = complete && function != nullptr;
        };
        bind(l.delete_fluid_audio_driver, "delete_fluid_audio_driver");
        bind(l.delete_fluid_event, "delete_fluid_event");
        bind(l.delete_fluid_player, "delete_fluid_player");
        bind(l.delete_fluid_sequencer, "delete_fluid_sequencer");
        bind(l.delete_fluid_settings, "delete_fluid_settings");
        bind(l.delete_fluid_synth, "delete_fluid_synth");
        bind(l.fluid_event_channel_pressure, "fluid_event_channel_pressure");
        bind(l.fluid_event_control_change, "fluid_event_control_change");
        bind(l.fluid_event_key_pressure, "fluid_event_key_pressure");
        bind(l.fluid_event_noteoff, "fluid_event_noteoff");
        bind(l.fluid_event_noteon, "fluid_event_noteon");
        bind(l.fluid_event_pitch_bend, "fluid_event_pitch_bend");
        bind(l.fluid_event_program_change, "fluid_event_program_change");
        bind(l.fluid_event_set_dest, "fluid_event_set_dest");
        bind(l.fluid_event_set_source, "fluid_event_set_source");
        bind(l.fluid_player_add_mem, "fluid_player_add_mem");
        bind(l.fluid_player_get_status, "fluid_player_get_status");
        bind(l.fluid_player_play, "fluid_player_play");
        bind(l.fluid_player_stop, "fluid_player_stop");
        bind(l.fluid_sequencer_get_tick, "fluid_sequencer_get_tick");
        bind(l.fluid_sequencer_register_client, "fluid_sequencer_register_client");
        bind(l.fluid_sequencer_register_fluidsynth, "fluid_sequencer_register_fluidsynth");
        bind(l.fluid_sequencer_remove_events, "fluid_sequencer_remove_events");
        bind(l.fluid_sequencer_send_at, "fluid_sequencer_send_at");
        bind(l.fluid_sequencer_set_time_scale, "fluid_sequencer_set_time_scale");
        bind(l.fluid_set_log_function, "fluid_set_log_function");
        bind(l.fluid_settings_setint, "fluid_settings_setint");
        bind(l.fluid_settings_setnum, "fluid_settings_setnum");
        bind(l.fluid_settings_setstr, "fluid_settings_setstr");
        bind(l.fluid_sfont_get_id, "fluid_sfont_get_id");
        bind(l.fluid_synth_all_notes_off, "fluid_synth_all_notes_off");
        bind(l.fluid_synth_cc, "fluid_synth_cc");
        bind(l.fluid_synth_channel_pressure, "fluid_synth_channel_pressure");
        bind(l.fluid_synth_get_sfont, "fluid_synth_get_sfont");
        bind(l.fluid_synth_key_pressure, "fluid_synth_key_pressure");
        bind(l.fluid_synth_noteoff, "fluid_synth_noteoff");
        bind(l.fluid_synth_noteon, "fluid_synth_noteon");
        bind(l.fluid_synth_pitch_bend, "fluid_synth_pitch_bend");
        bind(l.fluid_synth_process, "fluid_synth_process");
        bind(l.fluid_synth_program_change, "fluid_synth_program_change");
        bind(l.fluid_synth_set_gain, "fluid_synth_set_gain");
        bind(l.fluid_synth_sfcount, "fluid_synth_sfcount");
        bind(l.fluid_synth_sfload, "fluid_synth_sfload");
        bind(l.fluid_synth_sfunload, "fluid_synth_sfunload");
        bind(l.fluid_synth_system_reset, "fluid_synth_system_reset");
        bind(l.fluid_synth_write_float, "fluid_synth_write_float");
        bind(l.new_fluid_audio_driver2, "new_fluid_audio_driver2");
        bind(l.new_fluid_event, "new_fluid_event");
        bind(l.new_fluid_player, "new_fluid_player");
        bind(l.new_fluid_sequencer2, "new_fluid_sequencer2");
        bind(l.new_fluid_settings, "new_fluid_settings");
        bind(l.new_fluid_synth, "new_fluid_synth");
        if (!complete) {
            dlclose(handle);
            return FluidSynthLibrary{};
        }
        // The library stays open for the life of the program.
        return l;
    }();
    return library;
}

}  // namespace

extern "C" {

void delete_fluid_audio_driver(fluid_audio_driver_t* driver) {
    if (const auto f = Library().delete_fluid_audio_driver) f(driver);
}

void delete_fluid_event(fluid_event_t* evt) {
    if (const auto f = Library().delete_fluid_event) f(evt);
}

void delete_fluid_player(fluid_player_t* player) {
    if (const auto f = Library().delete_fluid_player) f(player);
}

void delete_fluid_sequencer(fluid_sequencer_t* seq) {
    if (const auto f = Library().delete_fluid_sequencer) f(seq);
}

void delete_fluid_settings(fluid_settings_t* settings) {
    if (const auto f = Library().delete_fluid_settings) f(settings);
}

void delete_fluid_synth(fluid_synth_t* synth) {
    if (const auto f = Library().delete_fluid_synth) f(synth);
}

void fluid_event_channel_pressure(fluid_event_t* evt, int channel, int val) {
    if (const auto f = Library().fluid_event_channel_pressure) f(evt, channel, val);
}

void fluid_event_control_change(fluid_event_t* evt, int channel, short control, int val) {
    if (const auto f = Library().fluid_event_control_change) f(evt, channel, control, val);
}

void fluid_event_key_pressure(fluid_event_t* evt, int channel, short key, int val) {
    if (const auto f = Library().fluid_event_key_pressure) f(evt, channel, key, val);
}

void fluid_event_noteoff(fluid_event_t* evt, int channel, short key) {
    if (const auto f = Library().fluid_event_noteoff) f(evt, channel, key);
}

void fluid_event_noteon(fluid_event_t* evt, int channel, short key, short vel) {
    if (const auto f = Library().fluid_event_noteon) f(evt, channel, key, vel);
}

void fluid_event_pitch_bend(fluid_event_t* evt, int channel, int val) {
    if (const auto f = Library().fluid_event_pitch_bend) f(evt, channel, val);
}

void fluid_event_program_change(fluid_event_t* evt, int channel, int preset_num) {
    if (const auto f = Library().fluid_event_program_change) f(evt, channel, preset_num);
}

void fluid_event_set_dest(fluid_event_t* evt, fluid_seq_id_t dest) {
    if (const auto f = Library().fluid_event_set_dest) f(evt, dest);
}

void fluid_event_set_source(fluid_event_t* evt, fluid_seq_id_t src) {
    if (const auto f = Library().fluid_event_set_source) f(evt, src);
}

int fluid_player_add_mem(fluid_player_t* player, const void* buffer, size_t len) {
    const auto f = Library().fluid_player_add_mem;
    return f != nullptr ? f(player, buffer, len) : FLUID_FAILED;
}

int fluid_player_get_status(fluid_player_t* player) {
    const auto f = Library().fluid_player_get_status;
    return f != nullptr ? f(player) : FLUID_FAILED;
}

int fluid_player_play(fluid_player_t* player) {
    const auto f = Library().fluid_player_play;
    return f != nullptr ? f(player) : FLUID_FAILED;
}

int fluid_player_stop(fluid_player_t* player) {
    const auto f = Library().fluid_player_stop;
    return f != nullptr ? f(player) : FLUID_FAILED;
}

unsigned int fluid_sequencer_get_tick(fluid_sequencer_t* seq) {
    const auto f = Library().fluid_sequencer_get_tick;
    return f != nullptr ? f(seq) : 0;
}

fluid_seq_id_t fluid_sequencer_register_client(fluid_sequencer_t* seq, const char* name,
                                               fluid_event_callback_t callback, void* data) {
    const auto f = Library().fluid_sequencer_register_client;
    return f != nullptr ? f(seq, name, callback, data) : FLUID_FAILED;
}

fluid_seq_id_t fluid_sequencer_register_fluidsynth(fluid_sequencer_t* seq, fluid_synth_t* synth) {
    const auto f = Library().fluid_sequencer_register_fluidsynth;
    return f != nullptr ? f(seq, synth) : FLUID_FAILED;
}

void fluid_sequencer_remove_events(fluid_sequencer_t* seq, fluid_seq_id_t source, fluid_seq_id_t dest,
                                   int type) {
    if (const auto f = Library().fluid_sequencer_remove_events) f(seq, source, dest, type);
}

int fluid_sequencer_send_at(fluid_sequencer_t* seq, fluid_event_t* evt, unsigned int time, int absolute) {
    const auto f = Library().fluid_sequencer_send_at;
    return f != nullptr ? f(seq, evt, time, absolute) : FLUID_FAILED;
}

void fluid_sequencer_set_time_scale(fluid_sequencer_t* seq, double scale) {
    if (const auto f = Library().fluid_sequencer_set_time_scale) f(seq, scale);
}

fluid_log_function_t fluid_set_log_function(int level, fluid_log_function_t fun, void* data) {
    const auto f = Library().fluid_set_log_function;
    return f != nullptr ? f(level, fun, data) : nullptr;
}

int fluid_settings_setint(fluid_settings_t* settings, const char* name, int val) {
    const auto f = Library().fluid_settings_setint;
    return f != nullptr ? f(settings, name, val) : FLUID_FAILED;
}

int fluid_settings_setnum(fluid_settings_t* settings, const char* name, double val) {
    const auto f = Library().fluid_settings_setnum;
    return f != nullptr ? f(settings, name, val) : FLUID_FAILED;
}

int fluid_settings_setstr(fluid_settings_t* settings, const char* name, const char* str) {
    const auto f = Library().fluid_settings_setstr;
    return f != nullptr ? f(settings, name, str) : FLUID_FAILED;
}

int fluid_sfont_get_id(fluid_sfont_t* sfont) {
    const auto f = Library().fluid_sfont_get_id;
    return f != nullptr ? f(sfont) : FLUID_FAILED;
}

int fluid_synth_all_notes_off(fluid_synth_t* synth, int chan) {
    const auto f = Library().fluid_synth_all_notes_off;
    return f != nullptr ? f(synth, chan) : FLUID_FAILED;
}

int fluid_synth_cc(fluid_synth_t* synth, int chan, int ctrl, int val) {
    const auto f = Library().fluid_synth_cc;
    return f != nullptr ? f(synth, chan, ctrl, val) : FLUID_FAILED;
}

int fluid_synth_channel_pressure(fluid_synth_t* synth, int chan, int val) {
    const auto f = Library().fluid_synth_channel_pressure;
    return f != nullptr ? f(synth, chan, val) : FLUID_FAILED;
}

fluid_sfont_t* fluid_synth_get_sfont(fluid_synth_t* synth, unsigned int num) {
    const auto f = Library().fluid_synth_get_sfont;
    return f != nullptr ? f(synth, num) : nullptr;
}

int fluid_synth_key_pressure(fluid_synth_t* synth, int chan, int key, int val) {
    const auto f = Library().fluid_synth_key_pressure;
    return f != nullptr ? f(synth, chan, key, val) : FLUID_FAILED;
}

int fluid_synth_noteoff(fluid_synth_t* synth, int chan, int key) {
    const auto f = Library().fluid_synth_noteoff;
    return f != nullptr ? f(synth, chan, key) : FLUID_FAILED;
}

int fluid_synth_noteon(fluid_synth_t* synth, int chan, int key, int vel) {
    const auto f = Library().fluid_synth_noteon;
    return f != nullptr ? f(synth, chan, key, vel) : FLUID_FAILED;
}

int fluid_synth_pitch_bend(fluid_synth_t* synth, int chan, int val) {
    const auto f = Library().fluid_synth_pitch_bend;
    return f != nullptr ? f(synth, chan, val) : FLUID_FAILED;
}

int fluid_synth_process(fluid_synth_t* synth, int len, int nfx, float* fx[], int nout, float* out[]) {
    const auto f = Library().fluid_synth_process;
    return f != nullptr ? f(synth, len, nfx, fx, nout, out) : FLUID_FAILED;
}

int fluid_synth_program_change(fluid_synth_t* synth, int chan, int program) {
    const auto f = Library().fluid_synth_program_change;
    return f != nullptr ? f(synth, chan, program) : FLUID_FAILED;
}

void fluid_synth_set_gain(fluid_synth_t* synth, float gain) {
    if (const auto f = Library().fluid_synth_set_gain) f(synth, gain);
}

int fluid_synth_sfcount(fluid_synth_t* synth) {
    const auto f = Library().fluid_synth_sfcount;
    return f != nullptr ? f(synth) : FLUID_FAILED;
}

int fluid_synth_sfload(fluid_synth_t* synth, const char* filename, int reset_presets) {
    const auto f = Library().fluid_synth_sfload;
    return f != nullptr ? f(synth, filename, reset_presets) : FLUID_FAILED;
}

int fluid_synth_sfunload(fluid_synth_t* synth, int id, int reset_presets) {
    const auto f = Library().fluid_synth_sfunload;
    return f != nullptr ? f(synth, id, reset_presets) : FLUID_FAILED;
}

int fluid_synth_system_reset(fluid_synth_t* synth) {
    const auto f = Library().fluid_synth_system_reset;
    return f != nullptr ? f(synth) : FLUID_FAILED;
}

int fluid_synth_write_float(fluid_synth_t* synth, int len, void* lout, int loff, int lincr, void* rout,
                            int roff, int rincr) {
    const auto f = Library().fluid_synth_write_float;
    return f != nullptr ? f(synth, len, lout, loff, lincr, rout, roff, rincr) : FLUID_FAILED;
}

fluid_audio_driver_t* new_fluid_audio_driver2(fluid_settings_t* settings, fluid_audio_func_t func,
                                              void* data) {
    const auto f = Library().new_fluid_audio_driver2;
    return f != nullptr ? f(settings, func, data) : nullptr;
}

fluid_event_t* new_fluid_event() {
    const auto f = Library().new_fluid_event;
    return f != nullptr ? f() : nullptr;
}

fluid_player_t* new_fluid_player(fluid_synth_t* synth) {
    const auto f = Library().new_fluid_player;
    return f != nullptr ? f(synth) : nullptr;
}

fluid_sequencer_t* new_fluid_sequencer2(int use_system_timer) {
    const auto f = Library().new_fluid_sequencer2;
    return f != nullptr ? f(use_system_timer) : nullptr;
}

fluid_settings_t* new_fluid_settings() {
    const auto f = Library().new_fluid_settings;
    return f != nullptr ? f() : nullptr;
}

fluid_synth_t* new_fluid_synth(fluid_settings_t* settings) {
    const auto f = Library().new_fluid_synth;
    return f != nullptr ? f(settings) : nullptr;
}

}  // extern "C"
