'''An Xfconf stand-in holding an xfce4-panel channel: panel 1 with a menu,
panel 2 with the task list, auto-hide off. GetProperty and SetProperty work
on it; every call is logged. With the parameter {"stall": true} it takes
every call and answers none, as a hung xfconfd does.'''
import dbus

BUS_NAME = 'org.xfce.Xfconf'
MAIN_OBJ = '/org/xfce/Xfconf'
MAIN_IFACE = 'org.xfce.Xfconf'
SYSTEM_BUS = False


def ints(*values):
    return dbus.Array([dbus.Int32(v, variant_level=1) for v in values], signature='v', variant_level=1)


def load(mock, parameters):
    mock.store = {
        '/panels': ints(1, 2),
        '/panels/panel-1/plugin-ids': ints(1),
        '/plugins/plugin-1': dbus.String('whiskermenu', variant_level=1),
        '/panels/panel-2/plugin-ids': ints(2, 3),
        '/plugins/plugin-2': dbus.String('separator', variant_level=1),
        '/plugins/plugin-3': dbus.String('tasklist', variant_level=1),
        '/panels/panel-1/autohide-behavior': dbus.UInt32(0, variant_level=1),
        '/panels/panel-2/autohide-behavior': dbus.UInt32(0, variant_level=1),
    }
    if parameters.get('stall'):
        mock.AddMethod(MAIN_IFACE, 'GetProperty', 'ss', 'v', 'import time; time.sleep(3600)')
        mock.AddMethod(MAIN_IFACE, 'SetProperty', 'ssv', '', 'import time; time.sleep(3600)')
        return
    mock.AddMethod(MAIN_IFACE, 'GetProperty', 'ss', 'v', '''
if args[1] not in self.store:
    raise dbus.exceptions.DBusException('no such property', name='org.xfce.Xfconf.Error.PropertyNotFound')
ret = self.store[args[1]]''')
    mock.AddMethod(MAIN_IFACE, 'SetProperty', 'ssv', '', 'self.store[args[1]] = args[2]')
