#pragma once
// The registration of every object class the program knows: those the
// document library builds in and the texts built on them. Whatever reads or
// shows projects as the program does (the program, the project reader's fuzz
// target) calls it once at start, before the first object exists.
void RegisterObjectClasses();
