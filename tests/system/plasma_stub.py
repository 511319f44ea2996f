'''A Plasma shell stand-in: evaluateScript keeps the panel's "hiding" as the
scripts set it and prints it when asked. Every call is logged.'''
BUS_NAME = 'org.kde.plasmashell'
MAIN_OBJ = '/PlasmaShell'
MAIN_IFACE = 'org.kde.PlasmaShell'
SYSTEM_BUS = False


def load(mock, parameters):
    mock.hiding = 'none'
    mock.AddMethod(MAIN_IFACE, 'evaluateScript', 's', 's', '''
if "p.hiding = 'autohide'" in args[0]:
    self.hiding = 'autohide'
elif "p.hiding = 'none'" in args[0]:
    self.hiding = 'none'
ret = self.hiding if 'print(' in args[0] else \'\'''')
