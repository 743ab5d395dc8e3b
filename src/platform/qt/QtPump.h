// Lets pending window events run inside a long operation, so the windows stay
// painted; the user's input waits until the operation ends.
#pragma once

void PumpWindowEvents();
