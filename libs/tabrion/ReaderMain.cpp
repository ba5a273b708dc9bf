// The reader program: reads one worksheet for the spreadsheet reader library
// in a process of its own, and hands it back over the pipe it was given.
#include "libs/tabrion/ChildReader.h"

int main(int argc, char** argv) { tabrion::ChildReader::ReaderMain(argc, argv); }
