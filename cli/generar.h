// fenwa-cli generar: a synthetic series written as a sample file.
#pragma once

// Runs "fenwa-cli generar ..." with argv[0] = "generar" and the rest of its arguments.
// Returns the exit status: 0 written; 1 usage error, bad value or file that cannot be
// written; 2 generation refused for valid values (not enough memory, for instance).
int EjecutarGenerar(int argc, char** argv);
