#pragma once

struct CommandLine;

// Reads the game (and season files) the command line names and writes its
// box score as a PDF file on the paper it asks for, without a window.
// Returns the program's exit status: 0 written, 1 the file named would
// replace a file read, 2 a file could not be read, 3 the PDF could not be
// written; each failure told on stderr in one line.
int WriteBoxScoreFile(const CommandLine &line);
