// InstallMainWiring: the composition root that wires the window units (speed bars, preview,
// find and replace, document commands, markup dialogs, custom bar, right menu) to the main
// window at start-up. The only place that knows every unit.
#pragma once

// Makes every main window created from now on install the units in its start-up order.
void InstallMainWiring();
