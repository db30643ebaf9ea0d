#pragma once
// ClapThunks: the C functions a CLAP host calls through an instance's record and through the
// extensions it asks for. Each finds the instance behind the record and calls its member
// function; nothing is thrown back into the host, and a null record (or one without plug-in
// data) gets the neutral answer (false, 0, null).

#include "clap/abi/ClapExtensions.h"

class IPlugCLAP;

// Fills record's function pointers and points its plugin_data at plug.
void BindClapRecord(clap_plugin_t* record, IPlugCLAP* plug);

// The extension named id, or null when the module does not offer it.
const void* ClapExtension(const char* id);
