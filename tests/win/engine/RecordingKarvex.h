// Where the recording stand-in of Karvex.ax (built beside engine_caption_test)
// leaves its record for the test to read: a key of the tests' own.
//   "calls"   a letter per event: R DllRegisterServer, U DllUnregisterServer,
//             C a filter created through the class registration
//   "caption" the bytes of the last SetCaptionText, without the zero
//   "captions" how many SetCaptionText calls came
// and reads one setting of the test's: "refuse" (1: the factory makes no filter).
#pragma once

#define RECORDING_KARVEX_KEY "Software\\VelkTests\\EngineKarvex"
#define KARVEX_CLSID_KEY "CLSID\\{1D972EE0-1C22-11D4-9594-525405E0A5F9}"
