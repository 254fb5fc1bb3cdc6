// The program's entry point, apart from main() so that tests can run it.
#pragma once

// Runs the start-up, Main and the shutdown, in the orders the program keeps.
// A QApplication must exist.
void EntryPoint();
