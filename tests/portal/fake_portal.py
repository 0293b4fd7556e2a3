#!/usr/bin/python3
"""A stand-in for xdg-desktop-portal's global shortcuts, on the session bus of a test.

It owns org.freedesktop.portal.Desktop and serves, at /org/freedesktop/portal/desktop, the
org.freedesktop.portal.GlobalShortcuts interface (version 1 or 2) with its Request and Session
objects, and org.freedesktop.host.portal.Registry. GDBus checks every call against the
interfaces' declared signatures, so a call with wrong argument types gets InvalidArgs, as from
the real portal; every call that reaches the portal is recorded for the tests to read.

Tests script it through test.FakePortal.Control at /test/FakePortal on the name test.FakePortal,
which stays on the bus while the portal itself stops and starts: each start is a new connection,
like a new portal process, with a new unique name and no sessions.
"""

import argparse
import json
import os
import re
import sys
import threading

from gi.repository import Gio, GLib

PORTAL_NAME = 'org.freedesktop.portal.Desktop'
PORTAL_PATH = '/org/freedesktop/portal/desktop'
SHORTCUTS = 'org.freedesktop.portal.GlobalShortcuts'
REGISTRY = 'org.freedesktop.host.portal.Registry'
REQUEST = 'org.freedesktop.portal.Request'
SESSION = 'org.freedesktop.portal.Session'
RECORDED_INTERFACES = {SHORTCUTS, REGISTRY, REQUEST, SESSION, 'org.freedesktop.DBus.Properties'}
CONTROL_NAME = 'test.FakePortal'
CONTROL_PATH = '/test/FakePortal'
# A bind answer code that means: the user never answers (the dialog stays open).
NEVER_ANSWERED = 0xFFFFFFFF
# Time between the Activated signals of a held key, as a keyboard's auto-repeat sends them.
REPEAT_INTERVAL_MS = 33

# Added to the GlobalShortcuts interface in its version 2.
CONFIGURE_SHORTCUTS_XML = '''
    <method name="ConfigureShortcuts">
      <arg type="o" name="session_handle" direction="in"/>
      <arg type="s" name="parent_window" direction="in"/>
      <arg type="a{sv}" name="options" direction="in"/>
    </method>'''

PORTAL_XML = '''<node>
  <interface name="org.freedesktop.portal.GlobalShortcuts">
    <method name="CreateSession">
      <arg type="a{sv}" name="options" direction="in"/>
      <arg type="o" name="handle" direction="out"/>
    </method>
    <method name="BindShortcuts">
      <arg type="o" name="session_handle" direction="in"/>
      <arg type="a(sa{sv})" name="shortcuts" direction="in"/>
      <arg type="s" name="parent_window" direction="in"/>
      <arg type="a{sv}" name="options" direction="in"/>
      <arg type="o" name="request_handle" direction="out"/>
    </method>
    <method name="ListShortcuts">
      <arg type="o" name="session_handle" direction="in"/>
      <arg type="a{sv}" name="options" direction="in"/>
      <arg type="o" name="request_handle" direction="out"/>
    </method>%s
    <signal name="Activated">
      <arg type="o" name="session_handle"/>
      <arg type="s" name="shortcut_id"/>
      <arg type="t" name="timestamp"/>
      <arg type="a{sv}" name="options"/>
    </signal>
    <signal name="Deactivated">
      <arg type="o" name="session_handle"/>
      <arg type="s" name="shortcut_id"/>
      <arg type="t" name="timestamp"/>
      <arg type="a{sv}" name="options"/>
    </signal>
    <signal name="ShortcutsChanged">
      <arg type="o" name="session_handle"/>
      <arg type="a(sa{sv})" name="shortcuts"/>
    </signal>
    <property name="version" type="u" access="read"/>
  </interface>
  <interface name="org.freedesktop.host.portal.Registry">
    <method name="Register">
      <arg type="s" name="app_id" direction="in"/>
      <arg type="a{sv}" name="options" direction="in"/>
    </method>
    <property name="version" type="u" access="read"/>
  </interface>
  <interface name="org.freedesktop.portal.Request">
    <method name="Close"/>
    <signal name="Response">
      <arg type="u" name="response"/>
      <arg type="a{sv}" name="results"/>
    </signal>
  </interface>
  <interface name="org.freedesktop.portal.Session">
    <method name="Close"/>
    <signal name="Closed">
      <arg type="a{sv}" name="details"/>
    </signal>
    <property name="version" type="u" access="read"/>
  </interface>
</node>'''

CONTROL_XML = '''<node>
  <interface name="test.FakePortal.Control">
    <method name="SetVersion"><arg type="u" name="version" direction="in"/></method>
    <method name="SetRegistry"><arg type="b" name="offered" direction="in"/></method>
    <method name="SetBindAnswer">
      <arg type="u" name="response" direction="in"/>
      <arg type="a{ss}" name="changed_triggers" direction="in"/>
      <arg type="as" name="left_out" direction="in"/>
    </method>
    <method name="SetBindError"><arg type="s" name="error_name" direction="in"/></method>
    <method name="Forget"/>
    <method name="ChangeTrigger">
      <arg type="s" name="shortcut_id" direction="in"/>
      <arg type="s" name="trigger_description" direction="in"/>
    </method>
    <method name="SetAnswerBeforeReply"><arg type="b" name="early" direction="in"/></method>
    <method name="Stop"/>
    <method name="Start"/>
    <method name="Restart"/>
    <method name="Activate">
      <arg type="s" name="shortcut_id" direction="in"/>
      <arg type="t" name="timestamp" direction="in"/>
    </method>
    <method name="Deactivate">
      <arg type="s" name="shortcut_id" direction="in"/>
      <arg type="t" name="timestamp" direction="in"/>
    </method>
    <method name="Hold">
      <arg type="s" name="shortcut_id" direction="in"/>
      <arg type="t" name="timestamp" direction="in"/>
      <arg type="u" name="repeats" direction="in"/>
    </method>
    <method name="Calls"><arg type="s" name="json" direction="out"/></method>
  </interface>
</node>'''

# The option keys each method documents, with their types; the portal drops other keys and
# refuses a documented key of another type.
OPTION_TYPES = {
    'CreateSession': {'handle_token': 's', 'session_handle_token': 's', 'shortcuts': 'a(sa{sv})'},
    'BindShortcuts': {'handle_token': 's'},
    'ListShortcuts': {'handle_token': 's'},
    'ConfigureShortcuts': {'activation_token': 's'},
    'Register': {},
}
SHORTCUT_TYPES = {'description': 's', 'preferred_trigger': 's'}
TOKEN = re.compile(r'^[A-Za-z0-9_]+$')


class PortalError(Exception):
    def __init__(self, name, text):
        super().__init__(text)
        self.name = name


def invalid_args(text):
    return PortalError('org.freedesktop.DBus.Error.InvalidArgs', text)


def plain(value):
    """A GLib.Variant as JSON data, each variant kept with its type: {"type": t, "value": v}."""
    kind = value.get_type_string()
    if kind == 'v':
        inner = value.get_variant()
        return {'type': inner.get_type_string(), 'value': plain(inner)}
    if kind.startswith('a{'):
        return {str(plain(e.get_child_value(0))): plain(e.get_child_value(1))
                for e in children(value)}
    if value.is_container():
        return [plain(c) for c in children(value)]
    return value.unpack()


def children(value):
    return [value.get_child_value(i) for i in range(value.n_children())]


def loosen(value):
    """Call arguments as Python data, the values of vardicts kept as GLib.Variant."""
    kind = value.get_type_string()
    if kind == 'a{sv}':
        return {e.get_child_value(0).get_string(): e.get_child_value(1).get_variant()
                for e in children(value)}
    if kind.startswith('a'):
        return [loosen(c) for c in children(value)]
    if kind.startswith('('):
        return tuple(loosen(c) for c in children(value))
    return value.unpack()


def check_options(method, options):
    for key, expected in OPTION_TYPES[method].items():
        if key in options and options[key].get_type_string() != expected:
            raise invalid_args('option %s of %s must be of type %s' % (key, method, expected))


def human_trigger(trigger):
    """How a desktop shows a trigger: CTRL+ALT+r becomes Ctrl+Alt+R."""
    return '+'.join(part.capitalize() for part in trigger.split('+'))


def sender_element(sender):
    return sender[1:].replace('.', '_')


class Portal:
    """One run of the portal process: its own connection, bus name, sessions and requests."""

    def __init__(self, fake):
        self.fake = fake
        self.node = Gio.DBusNodeInfo.new_for_xml(
            PORTAL_XML % (CONFIGURE_SHORTCUTS_XML if fake.version >= 2 else ''))
        self.connection = Gio.DBusConnection.new_for_address_sync(
            fake.address,
            Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
            | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
        self.connection.add_filter(fake.record)
        self.front = []      # registrations at the portal's own path
        self.objects = {}    # path of a request or session -> its registration id
        self.sessions = {}   # session path -> {'sender', 'bound', 'shortcuts': bound_shortcuts()}
        self.registered = set()   # senders that registered an application id
        self.export_front()
        self.connection.call_sync(
            'org.freedesktop.DBus', '/org/freedesktop/DBus', 'org.freedesktop.DBus', 'RequestName',
            GLib.Variant('(su)', (PORTAL_NAME, 4)), None, Gio.DBusCallFlags.NONE, -1, None)

    def interface(self, name):
        return self.node.lookup_interface(name)

    def export_front(self):
        for registration in self.front:
            self.connection.unregister_object(registration)
        self.front = []
        offered = ([SHORTCUTS] if self.fake.version > 0 else []) + \
                  ([REGISTRY] if self.fake.registry else [])
        for name in offered:
            self.front.append(self.connection.register_object(
                PORTAL_PATH, self.interface(name), self.on_call, self.on_property, None))

    def stop(self):
        self.connection.close_sync(None)

    def export(self, path, interface):
        self.objects[path] = self.connection.register_object(
            path, self.interface(interface), self.on_call, self.on_property, None)

    def unexport(self, path):
        registration = self.objects.pop(path, None)
        if registration is not None:
            self.connection.unregister_object(registration)

    def on_property(self, connection, sender, path, interface, name):
        return GLib.Variant('u', self.fake.version if interface == SHORTCUTS else 1)

    def on_call(self, connection, sender, path, interface, method, parameters, invocation):
        try:
            handler = getattr(self, 'call_' + method)
            invocation.return_value(handler(sender, path, *loosen(parameters)))
        except PortalError as error:
            invocation.return_dbus_error(error.name, str(error))
        except GLib.Error as error:
            invocation.return_dbus_error('org.freedesktop.DBus.Error.Failed', error.message)

    # --- org.freedesktop.host.portal.Registry

    def call_Register(self, sender, path, app_id, options):
        if sender in self.registered:
            raise PortalError('org.freedesktop.portal.Error.Failed', 'already registered')
        if any(s['sender'] == sender for s in self.sessions.values()):
            raise PortalError('org.freedesktop.portal.Error.Failed',
                              'registered after a portal call')
        check_options('Register', options)
        self.registered.add(sender)
        return None

    # --- org.freedesktop.portal.GlobalShortcuts

    def call_CreateSession(self, sender, path, options):
        check_options('CreateSession', options)
        session = self.object_path('session', sender, options, 'session_handle_token')
        if session in self.fake.stale_sessions:
            # As KDE's backend: a session the portal's last run left open there blocks its path.
            return self.request(sender, options, 2, {})
        # As Plasma 6: a session under a token whose shortcuts were bound before has them at once.
        token = session.rsplit('/', 1)[1]
        self.sessions[session] = {'sender': sender, 'token': token, 'bound': False,
                                  'shortcuts': dict(self.fake.remembered.get(token, {}))}
        self.export(session, SESSION)
        return self.request(sender, options, 0, {'session_handle': GLib.Variant('s', session)})

    def call_BindShortcuts(self, sender, path, session_path, shortcuts, parent_window, options):
        check_options('BindShortcuts', options)
        session = self.owned_session(sender, session_path)
        if session['bound']:
            raise PortalError('org.freedesktop.portal.Error.Failed', 'shortcuts already bound')
        for shortcut_id, properties in shortcuts:
            for key, expected in SHORTCUT_TYPES.items():
                if key in properties and properties[key].get_type_string() != expected:
                    raise invalid_args('shortcut key %s must be of type %s' % (key, expected))
        if self.fake.bind_error:
            raise PortalError(self.fake.bind_error, 'the test made BindShortcuts fail')
        session['bound'] = True
        response = self.fake.bind_response
        if response != 0:
            return self.request(sender, options, response, {})
        session['shortcuts'] = self.bound_shortcuts(shortcuts)
        self.fake.remembered[session['token']] = session['shortcuts']
        return self.request(sender, options, response, self.shortcut_results(session))

    def call_ListShortcuts(self, sender, path, session_path, options):
        check_options('ListShortcuts', options)
        session = self.owned_session(sender, session_path)
        return self.request(sender, options, 0, self.shortcut_results(session))

    def call_ConfigureShortcuts(self, sender, path, session_path, parent_window, options):
        check_options('ConfigureShortcuts', options)
        self.owned_session(sender, session_path)
        return None

    # --- Request and Session objects

    def call_Close(self, sender, path):
        self.unexport(path)
        self.sessions.pop(path, None)
        return None

    def object_path(self, kind, sender, options, token_key):
        token = options[token_key].unpack() if token_key in options else 't%d' % id(options)
        if not TOKEN.match(token):
            raise invalid_args('%s is not a valid object path element' % token_key)
        return '%s/%s/%s/%s' % (PORTAL_PATH, kind, sender_element(sender), token)

    def owned_session(self, sender, session_path):
        session = self.sessions.get(session_path)
        if session is None or session['sender'] != sender:
            raise invalid_args('invalid session')
        return session

    def bound_shortcuts(self, shortcuts):
        """What the user made of the shortcuts asked for: id -> description, trigger text."""
        bound = {}
        for shortcut_id, properties in shortcuts:
            if shortcut_id in self.fake.left_out:
                continue
            text = {key: value.unpack() for key, value in properties.items()}
            trigger = self.fake.changed.get(shortcut_id,
                                            human_trigger(text.get('preferred_trigger', '')))
            bound[shortcut_id] = {'description': GLib.Variant('s', text.get('description', '')),
                                  'trigger_description': GLib.Variant('s', trigger)}
        return bound

    @staticmethod
    def shortcut_results(session):
        return {'shortcuts': GLib.Variant('a(sa{sv})', list(session['shortcuts'].items()))}

    def request(self, sender, options, response, results):
        """Exports the call's Request, schedules its Response, and gives the reply's value."""
        path = self.object_path('request', sender, options, 'handle_token')
        self.export(path, REQUEST)

        def answer():
            if path in self.objects:
                self.unexport(path)
                self.connection.emit_signal(sender, path, REQUEST, 'Response',
                                            GLib.Variant('(ua{sv})', (response, results)))
            return GLib.SOURCE_REMOVE

        if response != NEVER_ANSWERED:
            if self.fake.answer_before_reply:
                answer()
            else:
                GLib.idle_add(answer)
        return GLib.Variant('(o)', (path,))

    def change_trigger(self, shortcut_id, trigger):
        """The user gives a shortcut other keys in the desktop's settings."""
        for path, session in self.sessions.items():
            if shortcut_id in session['shortcuts']:
                session['shortcuts'][shortcut_id]['trigger_description'] = GLib.Variant('s', trigger)
                self.connection.emit_signal(
                    session['sender'], PORTAL_PATH, SHORTCUTS, 'ShortcutsChanged',
                    GLib.Variant('(oa(sa{sv}))', (path, list(session['shortcuts'].items()))))

    def emit(self, signal, shortcut_id, timestamp):
        for path, session in self.sessions.items():
            if shortcut_id in session['shortcuts']:
                self.connection.emit_signal(
                    session['sender'], PORTAL_PATH, SHORTCUTS, signal,
                    GLib.Variant('(osta{sv})', (path, shortcut_id, timestamp, {})))


class Fake:
    """The script of the test and the record of calls, kept across portal restarts."""

    def __init__(self, arguments):
        self.address = os.environ['DBUS_SESSION_BUS_ADDRESS']
        self.version = arguments.version
        self.registry = not arguments.no_registry
        self.bind_response = 0
        self.changed = {}
        self.left_out = set()
        self.bind_error = ''
        self.answer_before_reply = False
        self.stale_sessions = set()
        self.remembered = {}  # session token -> the shortcuts last bound under it
        self.calls = []
        self.lock = threading.Lock()
        self.portal = None if arguments.absent else Portal(self)

    def record(self, connection, message, incoming):
        """Message filter (GDBus worker thread): notes each call made to the portal."""
        if incoming and message.get_message_type() == Gio.DBusMessageType.METHOD_CALL \
                and message.get_interface() in RECORDED_INTERFACES:
            body = message.get_body()
            call = {'interface': message.get_interface(), 'member': message.get_member(),
                    'path': message.get_path(), 'signature': message.get_signature(),
                    'args': plain(body) if body is not None else []}
            with self.lock:
                self.calls.append(call)
        return message

    def on_control(self, connection, sender, path, interface, method, parameters, invocation):
        result = getattr(self, 'control_' + method)(*parameters.unpack())
        invocation.return_value(result)

    def control_SetVersion(self, version):
        self.version = version
        if self.portal:
            self.control_Restart()

    def control_SetRegistry(self, offered):
        self.registry = offered
        if self.portal:
            self.portal.export_front()

    def control_SetBindAnswer(self, response, changed, left_out):
        self.bind_response, self.changed, self.left_out = response, changed, set(left_out)

    def control_SetBindError(self, error_name):
        self.bind_error = error_name

    def control_SetAnswerBeforeReply(self, early):
        self.answer_before_reply = early

    def control_Stop(self):
        if self.portal:
            self.stale_sessions |= set(self.portal.sessions)
            self.portal.stop()
            self.portal = None

    def control_Start(self):
        if not self.portal:
            self.portal = Portal(self)

    def control_Restart(self):
        self.control_Stop()
        self.control_Start()

    def control_Forget(self):
        """The desktop forgets every shortcut bound so far: the next session is asked anew."""
        self.remembered.clear()

    def control_ChangeTrigger(self, shortcut_id, trigger):
        self.portal.change_trigger(shortcut_id, trigger)

    def control_Activate(self, shortcut_id, timestamp):
        self.portal.emit('Activated', shortcut_id, timestamp)

    def control_Deactivate(self, shortcut_id, timestamp):
        self.portal.emit('Deactivated', shortcut_id, timestamp)

    def control_Hold(self, shortcut_id, timestamp, repeats):
        for n in range(repeats + 1):
            self.portal.emit('Activated', shortcut_id, timestamp + n * REPEAT_INTERVAL_MS)
        self.portal.emit('Deactivated', shortcut_id, timestamp + (repeats + 1) * REPEAT_INTERVAL_MS)

    def control_Calls(self):
        with self.lock:
            return GLib.Variant('(s)', (json.dumps(self.calls),))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--version', type=int, choices=(0, 1, 2), default=2,
                        help='GlobalShortcuts version to offer (0: not offered)')
    parser.add_argument('--no-registry', action='store_true',
                        help='offer no org.freedesktop.host.portal.Registry')
    parser.add_argument('--absent', action='store_true',
                        help='start without the portal on the bus')
    fake = Fake(parser.parse_args())
    control = Gio.DBusConnection.new_for_address_sync(
        fake.address,
        Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
        | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
    control.register_object(
        CONTROL_PATH, Gio.DBusNodeInfo.new_for_xml(CONTROL_XML).interfaces[0],
        fake.on_control, None, None)
    control.call_sync(
        'org.freedesktop.DBus', '/org/freedesktop/DBus', 'org.freedesktop.DBus', 'RequestName',
        GLib.Variant('(su)', (CONTROL_NAME, 4)), None, Gio.DBusCallFlags.NONE, -1, None)
    print('ready', flush=True)
    GLib.MainLoop().run()


if __name__ == '__main__':
    sys.exit(main())
