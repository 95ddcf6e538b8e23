#!/usr/bin/env python3
"""A router's TR-064 side as far as the dialing help goes: description, SCPD, Digest on every
control request, X_VoIP's dialing actions. Prints "PORT <n>" when ready; every authenticated
action goes as a JSON line to --log."""
import argparse, hashlib, json, secrets, threading
import xml.etree.ElementTree as ET
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

REALM = 'F!Box SOAP-Auth'
SERVICE = 'urn:dslforum-org:service:X_VoIP:1'
SOAP = 'http://schemas.xmlsoap.org/soap/envelope/'

p = argparse.ArgumentParser()
p.add_argument('--user', default='')
p.add_argument('--password', default='')
p.add_argument('--phones', default='', help='names, separated by "|"')
p.add_argument('--current', default='', help="the dialing help's phone")
p.add_argument('--log', required=True)
p.add_argument('--no-voip', action='store_true', help='"Zugriff für Anwendungen" without X_VoIP')
p.add_argument('--fault', action='append', default=[], help='ACTION=CODE')
args = p.parse_args()
phones = [n for n in args.phones.split('|') if n]
faults = dict(f.split('=', 1) for f in args.fault)
state = {'phone': args.current}
nonces, lock = set(), threading.Lock()

def md5(text):
    return hashlib.md5(text.encode('utf-8')).hexdigest()

def description():
    service = '' if args.no_voip else (
        f'<service><serviceType>{SERVICE}</serviceType><serviceId>urn:X_VoIP-com:serviceId:X_VoIP1</serviceId>'
        '<controlURL>/upnp/control/x_voip</controlURL><eventSubURL>/upnp/control/x_voip</eventSubURL>'
        '<SCPDURL>/x_voipSCPD.xml</SCPDURL></service>')
    return ('<?xml version="1.0"?><root xmlns="urn:dslforum-org:device-1-0"><device>'
            '<deviceType>urn:dslforum-org:device:InternetGatewayDevice:1</deviceType><serviceList>'
            '<service><serviceType>urn:dslforum-org:service:DeviceInfo:1</serviceType>'
            '<controlURL>/upnp/control/deviceinfo</controlURL></service>'
            f'{service}</serviceList></device></root>')

SCPD = ('<?xml version="1.0"?><scpd xmlns="urn:dslforum-org:service-1-0"><actionList>' + ''.join(
    f'<action><name>{a}</name></action>' for a in ('X_AVM-DE_DialNumber', 'X_AVM-DE_DialHangup',
    'X_AVM-DE_DialGetConfig', 'X_AVM-DE_DialSetConfig', 'X_AVM-DE_GetPhonePort')) + '</actionList></scpd>')

def envelope(inner):
    return (f'<?xml version="1.0"?><s:Envelope xmlns:s="{SOAP}" s:encodingStyle="http://schemas.xmlsoap.org/'
            f'soap/encoding/"><s:Body>{inner}</s:Body></s:Envelope>')

def fault(code):
    return 500, envelope('<s:Fault><faultcode>s:Client</faultcode><faultstring>UPnPError</faultstring><detail>'
                         '<UPnPError xmlns="urn:dslforum-org:control-1-0">'
                         f'<errorCode>{code}</errorCode><errorDescription>Fehler {code}</errorDescription>'
                         '</UPnPError></detail></s:Fault>')

def answer(action, values):
    from xml.sax.saxutils import escape
    out = ''.join(f'<{k}>{escape(v)}</{k}>' for k, v in values.items())
    return 200, envelope(f'<u:{action}Response xmlns:u="{SERVICE}">{out}</u:{action}Response>')

def act(action, a):
    if action in faults:
        return fault(faults[action])
    if action == 'X_AVM-DE_GetPhonePort':
        i = int(a.get('NewIndex', '0'))
        return answer(action, {'NewX_AVM-DE_PhoneName': phones[i - 1]}) if 1 <= i <= len(phones) else fault(713)
    if action == 'X_AVM-DE_DialGetConfig':
        return answer(action, {'NewX_AVM-DE_PhoneName': state['phone']})
    if action == 'X_AVM-DE_DialSetConfig':
        if a.get('NewX_AVM-DE_PhoneName') not in phones:
            return fault(402)
        state['phone'] = a['NewX_AVM-DE_PhoneName']
        return answer(action, {})
    if action in ('X_AVM-DE_DialNumber', 'X_AVM-DE_DialHangup'):
        return answer(action, {})
    return fault(401)

class Handler(BaseHTTPRequestHandler):
    protocol_version = 'HTTP/1.1'

    def log_message(self, *_):
        pass

    def send(self, status, body, extra=()):
        data = body.encode('utf-8')
        self.send_response(status)
        self.send_header('Content-Type', 'text/xml; charset="utf-8"')
        self.send_header('Content-Length', str(len(data)))
        for k, v in extra:
            self.send_header(k, v)
        self.end_headers()
        self.wfile.write(data)

    def do_GET(self):
        if self.path == '/tr64desc.xml':
            self.send(200, description())
        elif self.path == '/x_voipSCPD.xml' and not args.no_voip:
            self.send(200, SCPD)
        else:
            self.send(404, '<html>404</html>')

    def authorized(self):
        header = self.headers.get('Authorization', '')
        if not header.startswith('Digest '):
            return False
        f = {}
        for part in header[7:].split(','):
            k, _, v = part.strip().partition('=')
            f[k] = v.strip('"')
        with lock:  # each nonce once: the router challenges every request
            if f.get('nonce') not in nonces:
                return False
            nonces.discard(f['nonce'])
        if f.get('username') != args.user or f.get('realm') != REALM or f.get('qop') != 'auth':
            return False
        ha1 = md5(f'{args.user}:{REALM}:{args.password}')
        ha2 = md5(f'POST:{f.get("uri")}')
        return f.get('response') == md5(f'{ha1}:{f["nonce"]}:{f.get("nc")}:{f.get("cnonce")}:auth:{ha2}')

    def do_POST(self):
        body = self.rfile.read(int(self.headers.get('Content-Length', '0')))
        if self.path != '/upnp/control/x_voip' or args.no_voip:
            return self.send(404, '<html>404</html>')
        if not self.authorized():
            nonce = secrets.token_hex(8).upper()
            with lock:
                nonces.add(nonce)
            return self.send(401, '<html>401 Unauthorized</html>', [(
                'WWW-Authenticate', f'Digest realm="{REALM}", nonce="{nonce}", algorithm=MD5, qop="auth"')])
        soapaction = self.headers.get('SOAPACTION', '')
        call = ET.fromstring(body).find(f'{{{SOAP}}}Body')[0]
        action = call.tag.split('}')[1]
        a = {c.tag: c.text or '' for c in call}
        with lock, open(args.log, 'a', encoding='utf-8') as log:
            log.write(json.dumps({'action': action, 'args': a, 'soapaction': soapaction,
                                  'contentType': self.headers.get('Content-Type')}, ensure_ascii=False) + '\n')
        self.send(*act(action, a))

server = ThreadingHTTPServer(('127.0.0.1', 0), Handler)
print('PORT', server.server_address[1], flush=True)
server.serve_forever()
