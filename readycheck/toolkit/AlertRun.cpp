#include "AlertDialog.h"

int Alert::runModal() {
    AlertKeys keys;
    return RunAlertDialog(MakeAlertDialog(*this, keys));
}
