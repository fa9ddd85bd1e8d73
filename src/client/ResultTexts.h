#pragma once

// Texts of the client's result codes 0..15, indexed by code.
extern const char* const gErrorsD[16];
