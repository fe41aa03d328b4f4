#include "calendarapp.h"

int main(int argc, char** argv) { return CCalendarApp::Run(argc, argv); }
