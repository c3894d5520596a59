# Writes INPUT to OUTPUT with every line ending in CR LF, as Notepad on older Windows needs it.
cmake_minimum_required(VERSION 3.25)
file(READ ${INPUT} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${OUTPUT} "${text}")
