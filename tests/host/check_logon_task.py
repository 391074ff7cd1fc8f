#!/usr/bin/env python3
"""The log-on task definition shipped with the programs: written as Task Scheduler writes its own
(UTF-16 with a byte-order mark), well formed, and running brumix.exe clear at the log-on of any
user, as that user, with the least privilege."""
import sys
import xml.etree.ElementTree as ET

NS = {"t": "http://schemas.microsoft.com/windows/2004/02/mit/task"}
problems = []


def expect(condition, what):
    if not condition:
        problems.append(what)


def text(element, path):
    found = element.find(path, NS)
    return None if found is None else (found.text or "").strip()


data = open(sys.argv[1], "rb").read()
expect(data.startswith(b"\xff\xfe"), "UTF-16 LE with a byte-order mark")
try:
    task = ET.fromstring(data)
except ET.ParseError as error:
    sys.exit(f"not well formed: {error}")
expect(task.tag == "{%s}Task" % NS["t"], "a Task of the Task Scheduler namespace")

triggers = task.findall("t:Triggers/*", NS)
expect([t.tag.split("}")[1] for t in triggers] == ["LogonTrigger"], "one trigger, at log-on")
expect(all(t.find("t:UserId", NS) is None for t in triggers), "the log-on of any user: no UserId in the trigger")

principals = task.findall("t:Principals/t:Principal", NS)
principal = principals[0] if len(principals) == 1 else ET.Element("none")
expect(text(principal, "t:GroupId") == "S-1-5-32-545", "the Users group as the principal")
expect(principal.find("t:UserId", NS) is None, "no single account as the principal")
expect(text(principal, "t:RunLevel") == "LeastPrivilege", "the least privilege")

actions = task.find("t:Actions", NS)
expect(actions is not None and actions.get("Context") == principal.get("id"), "the action runs as that principal")
expect(len(task.findall("t:Actions/t:Exec", NS)) == 1, "one program to run")
expect(text(task, "t:Actions/t:Exec/t:Command") == '"C:\\Program Files\\Win Brumix\\brumix.exe"',
       "brumix.exe in the folder under Program Files")
expect(text(task, "t:Actions/t:Exec/t:Arguments") == "clear", "the argument clear")
expect(text(task, "t:Settings/t:DisallowStartIfOnBatteries") == "false", "runs on a laptop's battery too")

if problems:
    sys.exit("the log-on task does not have: " + "; ".join(problems))
print("log-on task definition: well formed, brumix.exe clear at any user's log-on, as that user")
