'''A stand-in for switcheroo-control for python3-dbusmock: its object and its GPUs property,
the GPUs given as the "GPUs" parameter, each with Name, Environment, Default and Discrete.'''

import dbus

BUS_NAME = 'net.hadess.SwitcherooControl'
MAIN_OBJ = '/net/hadess/SwitcherooControl'
MAIN_IFACE = 'net.hadess.SwitcherooControl'
SYSTEM_BUS = True


def load(mock, parameters):
    gpus = dbus.Array([
        dbus.Dictionary({
            'Name': dbus.String(gpu['Name'], variant_level=1),
            'Environment': dbus.Array(gpu['Environment'], signature='s', variant_level=1),
            'Default': dbus.Boolean(gpu.get('Default', False), variant_level=1),
            'Discrete': dbus.Boolean(gpu.get('Discrete', False), variant_level=1),
        }, signature='sv') for gpu in parameters.get('GPUs', [])], signature='a{sv}')
    mock.AddProperties(MAIN_IFACE, dbus.Dictionary({
        'HasDualGpu': dbus.Boolean(len(gpus) > 1),
        'NumGPUs': dbus.UInt32(len(gpus)),
        'GPUs': gpus,
    }, signature='sv'))
