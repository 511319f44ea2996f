'''A udisks2 stand-in for the ejection tests: one loop-backed filesystem per
device number given, whose Unmount fails a chosen number of times with a
chosen error before it succeeds. Every call is written to the log file.

Parameters (JSON), lists by device: "devices": device numbers (major * 256 +
minor for loops), "fails": failing Unmount calls, "errors": the error name they
give.
'''
import dbus

from dbusmock.mockobject import objects

BUS_NAME = 'org.freedesktop.UDisks2'
MAIN_OBJ = '/org/freedesktop/UDisks2'
MAIN_IFACE = 'org.freedesktop.UDisks2.Manager'
SYSTEM_BUS = True
IS_OBJECT_MANAGER = True

UNMOUNT = '''
if self.fails > 0:
    self.fails -= 1
    raise dbus.exceptions.DBusException('target is busy', name=self.error)
self.props['org.freedesktop.UDisks2.Filesystem']['MountPoints'] = dbus.Array([], signature='ay', variant_level=1)
'''


def load(mock, parameters):
    mock.AddProperties(MAIN_IFACE, {'Version': dbus.String('2.9.4', variant_level=1)})
    for i, device in enumerate(parameters.get('devices', [])):
        path = f'/org/freedesktop/UDisks2/block_devices/loop{i}'
        mock.AddObject(path, 'org.freedesktop.UDisks2.Block', {
            'Device': dbus.ByteArray(f'/dev/loop{i}\0'.encode(), variant_level=1),
            'DeviceNumber': dbus.UInt64(device, variant_level=1),
            'Drive': dbus.ObjectPath('/', variant_level=1),
            'CryptoBackingDevice': dbus.ObjectPath('/', variant_level=1),
            'HintSystem': dbus.Boolean(True, variant_level=1),
        }, [])
        obj = objects[path]
        obj.AddProperties('org.freedesktop.UDisks2.Filesystem', {
            'MountPoints': dbus.Array([dbus.ByteArray(b'/mnt\0')], signature='ay', variant_level=1)})
        obj.AddMethods('org.freedesktop.UDisks2.Filesystem', [('Unmount', 'a{sv}', '', UNMOUNT)])
        obj.AddProperties('org.freedesktop.UDisks2.Loop', {
            'BackingFile': dbus.ByteArray(b'/tmp/image\0', variant_level=1)})
        obj.AddMethods('org.freedesktop.UDisks2.Loop', [('Delete', 'a{sv}', '', '')])
        def nth(name, default):
            values = parameters.get(name, [])
            return values[i] if i < len(values) and values[i] != '' else default
        obj.fails = int(nth('fails', 0))
        obj.error = nth('errors', 'org.freedesktop.UDisks2.Error.DeviceBusy')
