// Start-up timing: with ONDIX_MISURA_AVVIO set to the launch time (nanoseconds since the epoch, as `date +%s%N`
// prints it), the first paint of the watched window prints the milliseconds since launch and ends the program.
#pragma once

class QWidget;

namespace ondix {

// Watches `finestra` when ONDIX_MISURA_AVVIO is set; otherwise does nothing.
void misura_avvio(QWidget& finestra);

} // namespace ondix
