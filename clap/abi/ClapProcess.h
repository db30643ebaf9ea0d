#pragma once
// The CLAP 1.2 records of one process call (audio buffers, events, transport) and the byte
// streams of the state calls: the parts Brask reads or writes. Layouts and constants are the
// standard's.

#include "clap/abi/ClapEntry.h"

extern "C" {

struct clap_event_header_t {
  uint32_t size;  // bytes of the whole event, header included
  uint32_t time;  // frame of the block it applies at
  uint16_t space_id;
  uint16_t type;
  uint32_t flags;
};

constexpr uint16_t CLAP_CORE_EVENT_SPACE_ID = 0;

enum : uint16_t {
  CLAP_EVENT_PARAM_VALUE = 5,
  CLAP_EVENT_PARAM_MOD = 6,
  CLAP_EVENT_PARAM_GESTURE_BEGIN = 7,
  CLAP_EVENT_PARAM_GESTURE_END = 8,
  CLAP_EVENT_TRANSPORT = 9,
};

struct clap_event_param_value_t {
  clap_event_header_t header;
  clap_id param_id;
  void* cookie;
  int32_t note_id;
  int16_t port_index;
  int16_t channel;
  int16_t key;
  double value;  // plain, in the parameter's own units
};

struct clap_event_param_gesture_t {
  clap_event_header_t header;
  clap_id param_id;
};

struct clap_event_transport_t {
  clap_event_header_t header;
  uint32_t flags;
  int64_t song_pos_beats;
  int64_t song_pos_seconds;
  double tempo;
  double tempo_inc;
  int64_t loop_start_beats;
  int64_t loop_end_beats;
  int64_t loop_start_seconds;
  int64_t loop_end_seconds;
  int64_t bar_start;
  int32_t bar_number;
  uint16_t tsig_num;
  uint16_t tsig_denom;
};

struct clap_input_events_t {
  void* ctx;
  uint32_t (*size)(const clap_input_events_t* list);
  const clap_event_header_t* (*get)(const clap_input_events_t* list, uint32_t index);
};

struct clap_output_events_t {
  void* ctx;
  bool (*try_push)(const clap_output_events_t* list, const clap_event_header_t* event);
};

struct clap_audio_buffer_t {
  float** data32;
  double** data64;
  uint32_t channel_count;
  uint32_t latency;
  uint64_t constant_mask;
};

enum : int32_t {
  CLAP_PROCESS_ERROR = 0,
  CLAP_PROCESS_CONTINUE = 1,
  CLAP_PROCESS_CONTINUE_IF_NOT_QUIET = 2,
  CLAP_PROCESS_TAIL = 3,
  CLAP_PROCESS_SLEEP = 4,
};

struct clap_process_t {
  int64_t steady_time;
  uint32_t frames_count;
  const clap_event_transport_t* transport;
  const clap_audio_buffer_t* audio_inputs;
  clap_audio_buffer_t* audio_outputs;
  uint32_t audio_inputs_count;
  uint32_t audio_outputs_count;
  const clap_input_events_t* in_events;
  const clap_output_events_t* out_events;
};

// Both answer the bytes moved, 0 at the end of the stream, or a negative number on failure.
struct clap_istream_t {
  void* ctx;
  int64_t (*read)(const clap_istream_t* stream, void* buffer, uint64_t size);
};

struct clap_ostream_t {
  void* ctx;
  int64_t (*write)(const clap_ostream_t* stream, const void* buffer, uint64_t size);
};

}  // extern "C"
