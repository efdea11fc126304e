// Replays the first commands of the recorded walk through the web driver and
// counts the state lines that match the desktop driver's, leaving out what the
// page cannot know yet. Run after tools/web-build.sh:
//   node web/driver/compare-walk.mjs [COUNT]
import { spawn } from 'node:child_process';
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { gunzipSync } from 'node:zlib';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const count = Number(process.argv[2] ?? 300);
const commands = readFileSync(path.join(root, 'tests/walk/commands.txt'), 'utf8')
  .split('\n').filter((l) => l.trim() && !l.startsWith('#')).slice(0, count);
const expected = gunzipSync(readFileSync(path.join(root, 'tests/walk/expected.jsonl.gz')))
  .toString('utf8').split('\n').filter(Boolean);

// Fields the page does not show yet, per state and per control.
const stateOnly = [];
const controlOnly = ['loaded', 'fits', 'page'];

function comparable(state, tally) {
  const copy = structuredClone(state);
  for (const field of stateOnly) delete copy[field];
  for (const control of copy.controls ?? []) for (const field of controlOnly) delete control[field];
  return JSON.stringify(copy);
}

// Which fields differ, for the report.
function differences(want, got, tally) {
  for (const key of new Set([...Object.keys(want), ...Object.keys(got)])) {
    if (key === 'controls') continue;
    if (JSON.stringify(want[key]) !== JSON.stringify(got[key])) tally[key] = (tally[key] ?? 0) + 1;
  }
  const mine = new Map((got.controls ?? []).map((c) => [c.name, c]));
  for (const control of want.controls ?? []) {
    const other = mine.get(control.name);
    if (!other) { tally['control missing'] = (tally['control missing'] ?? 0) + 1; continue; }
    for (const key of new Set([...Object.keys(control), ...Object.keys(other)])) {
      if (JSON.stringify(control[key]) !== JSON.stringify(other[key])) {
        tally[`${control.kind}.${key}`] = (tally[`${control.kind}.${key}`] ?? 0) + 1;
      }
    }
  }
}

const driver = spawn(process.execPath, [path.join(root, 'web/driver/replay.mjs'), '--today', '2026-01-15'],
  { stdio: ['pipe', 'pipe', 'inherit'] });
driver.stdin.end(commands.join('\n') + '\n');
let output = '';
driver.stdout.on('data', (chunk) => { output += chunk; });
await new Promise((resolve) => driver.on('close', resolve));
const lines = output.split('\n').filter(Boolean);

let same = 0;
let shown = 0;
const tally = {};
commands.forEach((command, i) => {
  const want = JSON.parse(expected[i]);
  const got = lines[i] ? JSON.parse(lines[i]) : { error: 'no line' };
  differences(want, got, tally);
  if (comparable(want) === comparable(got)) same++;
  else if (shown++ < 3) console.log(`line ${i + 1}: ${command}\n  desktop: ${comparable(want).slice(0, 400)}\n  web:     ${comparable(got).slice(0, 400)}`);
});
console.log(`${same} of ${commands.length} lines match (without ${[...stateOnly, ...controlOnly].join(', ')})`);
console.log('lines with a field that differs, including the fields left out:');
for (const [field, n] of Object.entries(tally).sort((a, b) => b[1] - a[1])) console.log(`  ${field}: ${n}`);
process.exit(same === commands.length ? 0 : 1);
