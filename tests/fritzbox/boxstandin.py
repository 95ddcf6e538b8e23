#!/usr/bin/env python3
"""The router's TR-064 side as far as the dialing help goes: /tr64desc.xml, the SCPD, Digest on
every control request, the X_VoIP actions. Prints "PORT <n>" when ready; writes each authenticated
action as "<action> <name>=<value> ..." to --log."""
import argparse, hashlib, secrets, threading
import xml.etree.ElementTree as ET
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from xml.sax.saxutils import escape

REALM, SERVICE = 'F!Box SOAP-Auth', 'urn:dslforum-org:service:X_VoIP:1'
SOAP = 'http://schemas.xmlsoap.org/soap/envelope/'
p = argparse.ArgumentParser()
p.add_argument('--user', default='')
p.add_argument('--password', default='')
p.add_argument('--phones', default='', help='names, separated by "|"')
p.add_argument('--current', default='', help="the dialing help's phone")
p.add_argument('--log', required=True)
p.add_argument('--no-voip', action='store_true', help='"Zugriff für Anwendungen" without X_VoIP')
p.add_argument('--fault', action='append', default=[], help='ACTION=CODE')
p.add_argument('--silent', action='store_true', help='takes every request and never answers')
args = p.parse_args()
phones = [n for n in args.phones.split('|') if n]
faults = dict(f.split('=', 1) for f in args.fault)
state, nonces, lock = {'phone': args.current}, set(), threading.Lock()
md5 = lambda text: hashlib.md5(text.encode('utf-8')).hexdigest()
VOIP = ('' if args.no_voip else f'<service><serviceType>{SERVICE}</serviceType>'
        '<controlURL>/upnp/control/x_voip</controlURL><SCPDURL>/x_voipSCPD.xml</SCPDURL></service>')
PAGES = {'/tr64desc.xml': '<?xml version="1.0"?><root xmlns="urn:dslforum-org:device-1-0"><device><serviceList>'
         '<service><serviceType>urn:dslforum-org:service:DeviceInfo:1</serviceType>'
         f'<controlURL>/upnp/control/deviceinfo</controlURL></service>{VOIP}</serviceList></device></root>'}
if not args.no_voip:
    PAGES['/x_voipSCPD.xml'] = '<?xml version="1.0"?><scpd><actionList>' + ''.join(
        f'<action><name>X_AVM-DE_{a}</name></action>' for a in
        ('DialNumber', 'DialHangup', 'DialGetConfig', 'DialSetConfig', 'GetPhonePort')) + '</actionList></scpd>'

def envelope(inner):
    return (f'<?xml version="1.0"?><s:Envelope xmlns:s="{SOAP}" s:encodingStyle="http://schemas.xmlsoap.org/'
            f'soap/encoding/"><s:Body>{inner}</s:Body></s:Envelope>')

def fault(code):
    return 500, envelope('<s:Fault><faultcode>s:Client</faultcode><faultstring>UPnPError</faultstring><detail>'
                         f'<UPnPError xmlns="urn:dslforum-org:control-1-0"><errorCode>{code}</errorCode>'
                         f'<errorDescription>Fehler {code}</errorDescription></UPnPError></detail></s:Fault>')

def answer(action, values={}):
    out = ''.join(f'<{k}>{escape(v)}</{k}>' for k, v in values.items())
    return 200, envelope(f'<u:{action}Response xmlns:u="{SERVICE}">{out}</u:{action}Response>')

def act(action, a):
    if action in faults:
        return fault(faults[action])
    if action == 'X_AVM-DE_GetPhonePort':  # 713: no phone under this index
        i = int(a.get('NewIndex', '0'))
        return answer(action, {'NewX_AVM-DE_PhoneName': phones[i - 1]}) if 1 <= i <= len(phones) else fault(713)
    if action == 'X_AVM-DE_DialGetConfig':
        return answer(action, {'NewX_AVM-DE_PhoneName': state['phone']})
    if action == 'X_AVM-DE_DialSetConfig':
        if a.get('NewX_AVM-DE_PhoneName') not in phones:
            return fault(402)
        state['phone'] = a['NewX_AVM-DE_PhoneName']
    return answer(action) if action in ('X_AVM-DE_DialSetConfig', 'X_AVM-DE_DialNumber',
                                        'X_AVM-DE_DialHangup') else fault(401)

class Handler(BaseHTTPRequestHandler):
    protocol_version = 'HTTP/1.1'
    log_message = lambda *_: None

    def send(self, status, body, extra=()):
        data = body.encode('utf-8')
        self.send_response(status)
        for k, v in [('Content-Type', 'text/xml; charset="utf-8"'), ('Content-Length', str(len(data)))] + list(extra):
            self.send_header(k, v)
        self.end_headers()
        self.wfile.write(data)

    def handle_one_request(self):
        if args.silent:
            threading.Event().wait()
        super().handle_one_request()

    def do_GET(self):
        self.send(200, PAGES[self.path]) if self.path in PAGES else self.send(404, '<html>404</html>')

    def authorized(self):
        header = self.headers.get('Authorization', '')
        f = dict((k.strip(), v.strip('"')) for k, _, v in (x.partition('=') for x in header[7:].split(',')))
        with lock:  # a fresh nonce for every request, as the router demands
            if not header.startswith('Digest ') or f.get('nonce') not in nonces:
                return False
            nonces.discard(f['nonce'])
        ha1, ha2 = md5(f'{args.user}:{REALM}:{args.password}'), md5(f'POST:{f.get("uri")}')
        return (f.get('username'), f.get('realm'), f.get('qop')) == (args.user, REALM, 'auth') and f.get(
            'response') == md5(f'{ha1}:{f["nonce"]}:{f.get("nc")}:{f.get("cnonce")}:auth:{ha2}')

    def do_POST(self):
        body = self.rfile.read(int(self.headers.get('Content-Length', '0')))
        if self.path != '/upnp/control/x_voip' or args.no_voip:
            return self.send(404, '<html>404</html>')
        if not self.authorized():
            nonce = secrets.token_hex(8).upper()
            with lock:
                nonces.add(nonce)
            return self.send(401, '<html>401</html>', [('WWW-Authenticate', f'Digest realm="{REALM}", '
                                                        f'nonce="{nonce}", algorithm=MD5, qop="auth"')])
        call = ET.fromstring(body).find(f'{{{SOAP}}}Body')[0]
        action = call.tag.split('}')[1]
        # The router answers nothing it can use to a request not made the way it expects.
        if (self.headers.get('SOAPACTION') != f'"{SERVICE}#{action}"' or call.tag != f'{{{SERVICE}}}{action}'
                or self.headers.get('Content-Type') != 'text/xml; charset="utf-8"'):
            return self.send(400, '<html>400</html>')
        a = {c.tag: c.text or '' for c in call}
        with lock, open(args.log, 'a', encoding='utf-8') as log:
            log.write(' '.join([action] + [f'{k}={v}' for k, v in a.items()]) + '\n')
        self.send(*act(action, a))

server = ThreadingHTTPServer(('127.0.0.1', 0), Handler)
print('PORT', server.server_address[1], flush=True)
server.serve_forever()
