// The one application object of the program, built by static initialisation
// before the entry point runs. Kept apart from the class so that tests can
// make application objects of their own.
#include "app/CyclerApp.h"

CCyclerApp theApp;
